#include "scene/Matrix.h"

#include "SceneTestSupport.h"

#include <random>

using math::Mat4;

namespace {

class RandomMatrices {
public:
    float value(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(engine_); }
    math::Vec3 vector(float lo, float hi) { return {value(lo, hi), value(lo, hi), value(lo, hi)}; }
    Mat4 rotation() { return math::RotationAxis(vector(-1, 1) + math::Vec3{0.01f, 0, 0}, value(-3, 3)); }
    Mat4 scale() { return math::Scaling(value(0.2f, 3), value(0.2f, 3), value(0.2f, 3)); }
    Mat4 translation() { return math::Translation(value(-9, 9), value(-9, 9), value(-9, 9)); }

    // A matrix that honestly has the parts `kind` allows, tagged with that kind.
    Matrix ofKind(uint32_t kind) {
        Mat4 m;
        if (kind == kGeneralMatrix) {
            // Anything, even a projective last column: the shortcuts must still be exact.
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) m(r, c) = value(-2, 2);
            return {m, kind};
        }
        if (!(kind & kNoScale)) m = math::Multiply(m, scale());
        if (!(kind & kNoRotation)) m = math::Multiply(m, rotation());
        if (!(kind & kNoTranslation)) m = math::Multiply(m, translation());
        return {m, kind};
    }

private:
    std::mt19937 engine_{1234};
};

// Every promise of the kind word holds for the matrix.
void ExpectKindHonest(const Matrix& r) {
    if (r.kind == kGeneralMatrix) return;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.m(i, 3), 0.0f, 1e-5f);
    EXPECT_NEAR(r.m(3, 3), 1.0f, 1e-5f);
    if (r.kind & kNoTranslation) ExpectNear(r.TranslationRow(), {0, 0, 0});
    if (r.kind & kNoRotation) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if (i != j) {
                    EXPECT_NEAR(r.m(i, j), 0.0f, 1e-5f);
                }
    }
    if (r.kind & kNoScale) {
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(math::Length({r.m(i, 0), r.m(i, 1), r.m(i, 2)}), 1.0f, 1e-4f);
    }
}

}  // namespace

TEST(Matrix, EveryShortcutAgreesWithTheFullProductAndKeepsHonestKinds) {
    RandomMatrices random;
    for (uint32_t ka = 0; ka < 8; ++ka) {
        for (uint32_t kb = 0; kb < 8; ++kb) {
            for (int trial = 0; trial < 40; ++trial) {
                const Matrix a = random.ofKind(ka);
                const Matrix b = random.ofKind(kb);
                const Matrix r = a * b;
                SCOPED_TRACE(testing::Message() << "kinds " << ka << " x " << kb);
                ExpectNear(r.m, math::Multiply(a.m, b.m), 1e-4f);
                ExpectKindHonest(r);
            }
        }
    }
}

TEST(Matrix, KindsFollowTheShortcutPriority) {
    RandomMatrices random;
    const Matrix general = random.ofKind(kGeneralMatrix);
    const Matrix rotation = random.ofKind(kNoTranslation | kNoScale);
    const Matrix translation = Matrix::Translation({1, 2, 3});
    const Matrix scale = Matrix::Scaling({2, 3, 4});
    EXPECT_EQ((Matrix::Identity() * rotation).kind, rotation.kind);
    EXPECT_EQ((rotation * Matrix::Identity()).kind, rotation.kind);
    EXPECT_EQ((Matrix::Identity() * Matrix::Identity()).kind, uint32_t{kIdentityMatrix});
    EXPECT_EQ((translation * scale).kind, uint32_t{kNoRotation});
    EXPECT_EQ((scale * translation).kind, uint32_t{kNoRotation});
    EXPECT_EQ((translation * rotation).kind, uint32_t{kNoScale});
    EXPECT_EQ((rotation * scale).kind, uint32_t{kNoTranslation});
    EXPECT_EQ((translation * translation).kind, uint32_t{kPureTranslation});
    // Two rotations, or anything with a general matrix, take the full product.
    EXPECT_EQ((rotation * rotation).kind, uint32_t{kGeneralMatrix});
    EXPECT_EQ((general * translation).kind, uint32_t{kGeneralMatrix});
    // Building from parts makes no promise.
    const math::Vec3 rows[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    EXPECT_EQ(Matrix::FromParts({1, 1, 1}, rows, {}).kind, uint32_t{kGeneralMatrix});
}

TEST(Matrix, InversionGivesAGeneralMatrixAndRefusesSingularOnes) {
    const Matrix m = Matrix::Scaling({2, 4, 8}) * Matrix::Translation({1, 2, 3});
    Matrix inverse;
    ASSERT_TRUE(Invert(m, inverse));
    EXPECT_EQ(inverse.kind, uint32_t{kGeneralMatrix});
    ExpectNear((m * inverse).m, Mat4{});
    Matrix untouched = Matrix::Translation({5, 5, 5});
    EXPECT_FALSE(Invert(Matrix::Scaling({1, 0, 1}), untouched));
    EXPECT_EQ(untouched.kind, uint32_t{kPureTranslation});
}
