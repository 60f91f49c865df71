#pragma once
// The scene's matrix: a row-vector 4x4 float matrix followed by a kind word that tells which
// parts it lacks, so products of identities, translations and scales take a shortcut.

#include "common/math/Math.h"

#include <cstdint>

// Flags of the kind word. A set flag is a promise that the matrix lacks that part.
enum MatrixKind : uint32_t {
    kGeneralMatrix = 0,
    kNoTranslation = 1,
    kNoScale = 2,
    kNoRotation = 4,
    kPureScale = kNoTranslation | kNoRotation,    // 5: diagonal
    kPureTranslation = kNoScale | kNoRotation,    // 6
    kIdentityMatrix = kNoTranslation | kNoScale | kNoRotation,  // 7
};

struct Matrix {
    math::Mat4 m;  // identity
    uint32_t kind = kIdentityMatrix;

    static Matrix Identity() { return {}; }
    // A matrix built from parts or read from a file makes no promise.
    static Matrix General(const math::Mat4& m) { return {m, kGeneralMatrix}; }
    static Matrix Translation(math::Vec3 t);
    static Matrix Scaling(math::Vec3 s);
    // Scale applied before the rotation rows, then `position`: the node transform's layout.
    static Matrix FromParts(math::Vec3 scale, const math::Vec3 rotationRows[3], math::Vec3 position);

    void SetIdentity() { *this = Identity(); }
    math::Vec3 TranslationRow() const { return {m(3, 0), m(3, 1), m(3, 2)}; }
};

static_assert(sizeof(Matrix) == 17 * 4, "16 floats and the kind word");

// a x b: the transform of `a` applied first. Picks the cheapest routine for the two kinds.
Matrix operator*(const Matrix& a, const Matrix& b);

// The general inverse, kind 0. False for a singular matrix, leaving `out` untouched.
bool Invert(const Matrix& m, Matrix& out);
