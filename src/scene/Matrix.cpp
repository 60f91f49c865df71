#include "scene/Matrix.h"

#include <array>

namespace {

using Product = Matrix (*)(const Matrix&, const Matrix&);

Matrix ReturnB(const Matrix&, const Matrix& b) { return b; }
Matrix ReturnA(const Matrix& a, const Matrix&) { return a; }

// The shortcuts below are exact for any matrix on the other side, projective or not, so a
// shortcut never gives a different answer than the full product.
Matrix TranslationThenB(const Matrix& a, const Matrix& b) {
    Matrix r = b;
    for (int j = 0; j < 4; ++j)
        r.m(3, j) += a.m(3, 0) * b.m(0, j) + a.m(3, 1) * b.m(1, j) + a.m(3, 2) * b.m(2, j);
    r.kind = b.kind & ~uint32_t{kNoTranslation};
    return r;
}

Matrix AThenTranslation(const Matrix& a, const Matrix& b) {
    Matrix r = a;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) r.m(i, j) += a.m(i, 3) * b.m(3, j);
    r.kind = a.kind & ~uint32_t{kNoTranslation};
    return r;
}

Matrix ScaleThenB(const Matrix& a, const Matrix& b) {
    Matrix r = b;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) r.m(i, j) *= a.m(i, i);
    r.kind = b.kind & ~uint32_t{kNoScale};
    return r;
}

Matrix AThenScale(const Matrix& a, const Matrix& b) {
    Matrix r = a;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) r.m(i, j) *= b.m(j, j);
    r.kind = a.kind & ~uint32_t{kNoScale};
    return r;
}

Matrix FullProduct(const Matrix& a, const Matrix& b) { return Matrix::General(math::Multiply(a.m, b.m)); }

// Filled once, in priority order: identities, then translations, then scales, then the rest.
constexpr std::array<std::array<Product, 8>, 8> BuildProductTable() {
    std::array<std::array<Product, 8>, 8> table{};
    for (uint32_t ka = 0; ka < 8; ++ka) {
        for (uint32_t kb = 0; kb < 8; ++kb) {
            Product p = FullProduct;
            if (ka == kIdentityMatrix) p = ReturnB;
            else if (kb == kIdentityMatrix) p = ReturnA;
            else if (ka == kPureTranslation) p = TranslationThenB;
            else if (kb == kPureTranslation) p = AThenTranslation;
            else if (ka == kPureScale) p = ScaleThenB;
            else if (kb == kPureScale) p = AThenScale;
            table[ka][kb] = p;
        }
    }
    return table;
}

constexpr auto kProductTable = BuildProductTable();

}  // namespace

Matrix Matrix::Translation(math::Vec3 t) {
    Matrix r;
    r.m(3, 0) = t.x;
    r.m(3, 1) = t.y;
    r.m(3, 2) = t.z;
    r.kind = kPureTranslation;
    return r;
}

Matrix Matrix::Scaling(math::Vec3 s) {
    Matrix r;
    r.m(0, 0) = s.x;
    r.m(1, 1) = s.y;
    r.m(2, 2) = s.z;
    r.kind = kPureScale;
    return r;
}

Matrix Matrix::FromParts(math::Vec3 scale, const math::Vec3 rotationRows[3], math::Vec3 position) {
    const float s[3] = {scale.x, scale.y, scale.z};
    Matrix r;
    for (int i = 0; i < 3; ++i) {
        r.m(i, 0) = rotationRows[i].x * s[i];
        r.m(i, 1) = rotationRows[i].y * s[i];
        r.m(i, 2) = rotationRows[i].z * s[i];
    }
    r.m(3, 0) = position.x;
    r.m(3, 1) = position.y;
    r.m(3, 2) = position.z;
    r.kind = kGeneralMatrix;
    return r;
}

Matrix operator*(const Matrix& a, const Matrix& b) { return kProductTable[a.kind & 7][b.kind & 7](a, b); }

bool Invert(const Matrix& m, Matrix& out) {
    math::Mat4 inverse;
    if (!math::Inverse(m.m, inverse)) return false;
    out = Matrix::General(inverse);
    return true;
}
