#include "scene/NodeTransform.h"

#include "SceneTestSupport.h"

using math::Mat4;
using math::Vec3;

namespace {

Mat4 Rows(Vec3 x, Vec3 y, Vec3 z, Vec3 position = {}) {
    Mat4 m;
    const Vec3 rows[4] = {x, y, z, position};
    for (int r = 0; r < 4; ++r) {
        m(r, 0) = rows[r].x;
        m(r, 1) = rows[r].y;
        m(r, 2) = rows[r].z;
    }
    return m;
}

Vec3 Row(const Mat4& m, int r) { return {m(r, 0), m(r, 1), m(r, 2)}; }

// A transform that failed to decompose keeps identity parts and reproduces the matrix whole.
void ExpectKeptAsPre(const Mat4& m) {
    NodeTransform t;
    t.setPosition({9, 9, 9});
    EXPECT_FALSE(t.decompose(Matrix::General(m)));
    EXPECT_EQ(t.getPre().m, m);
    EXPECT_EQ(t.getScale(), (Vec3{1, 1, 1}));
    EXPECT_EQ(t.getYAxis(), (Vec3{0, 1, 0}));
    EXPECT_EQ(t.getZAxis(), (Vec3{0, 0, 1}));
    EXPECT_EQ(t.getPosition(), (Vec3{}));
    ExpectNear(t.getMatrix().m, m);
}

}  // namespace

TEST(NodeTransform, ComposesPreThenScaleThenRotationThenPosition) {
    NodeTransform t;
    EXPECT_EQ(t.getMatrix().m, Mat4{});
    const Mat4 rotation = math::RotationAxis({1, 2, 3}, 0.8f);
    // Axes are normalised before use; x is rebuilt from y and z.
    t.setYAxis(Row(rotation, 1) * 3.0f);
    t.setZAxis(Row(rotation, 2));
    t.setScale({2, 3, 4});
    t.setPosition({5, 6, 7});
    const Mat4 scaledRotation = math::Multiply(math::Scaling(2, 3, 4), rotation);
    ExpectNear(t.getMatrix().m, math::Multiply(scaledRotation, math::Translation(5, 6, 7)));
    EXPECT_EQ(t.getMatrix().kind, uint32_t{kGeneralMatrix});

    // Every setter invalidates the composed matrix.
    t.setPre(Matrix::Translation({0, 0, 1}));
    t.setPosition({0, 0, 0});
    ExpectNear(t.getMatrix().m, math::Multiply(math::Translation(0, 0, 1), scaledRotation));
}

TEST(NodeTransform, DecomposesScaledRotatedMovedAndMirroredMatrices) {
    const Mat4 rotation = math::RotationAxis({-1, 2, 0.5f}, 2.1f);
    const Mat4 m = math::Multiply(math::Multiply(math::Scaling(2, 3, 4), rotation), math::Translation(1, -2, 3));
    NodeTransform t;
    t.setPre(Matrix::Scaling({5, 5, 5}));
    ASSERT_TRUE(t.decompose(Matrix::General(m)));
    ExpectNear(t.getScale(), {2, 3, 4});
    ExpectNear(t.getPosition(), {1, -2, 3});
    ExpectNear(t.getYAxis(), Row(rotation, 1));
    EXPECT_EQ(t.getPre().kind, uint32_t{kIdentityMatrix});
    ExpectNear(t.getMatrix().m, m, 1e-4f);

    // A mirrored matrix (x row flipped) keeps its handedness through a negative x scale.
    const Mat4 mirrored = math::Multiply(math::Multiply(math::Scaling(-2, 3, 4), rotation), math::Translation(1, 2, 3));
    ASSERT_TRUE(t.decompose(Matrix::General(mirrored)));
    ExpectNear(t.getScale(), {-2, 3, 4});
    ExpectNear(t.getMatrix().m, mirrored, 1e-4f);
}

TEST(NodeTransform, MatricesWhoseAxesCannotBeRecoveredAreKeptWhole) {
    // Any two equal rows.
    ExpectKeptAsPre(Rows({1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {3, 4, 5}));
    ExpectKeptAsPre(Rows({0, 0, 1}, {0, 1, 0}, {0, 0, 1}));
    ExpectKeptAsPre(Rows({1, 0, 0}, {0, 1, 0}, {0, 1, 0}));
    // Axes too far from orthogonal: z against y.
    ExpectKeptAsPre(Rows({1, 0, 0}, {0, 1, 0}, Vec3{0, 0.2f, 1}));
    // A scale sum at most 0.01.
    ExpectKeptAsPre(Rows({0.003f, 0, 0}, {0, 0.003f, 0}, {0, 0, 0.003f}));
    // A flattened axis would lose the x row when it is rebuilt from y and z.
    ExpectKeptAsPre(Rows({1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {1, 1, 1}));
    // Nearly orthogonal axes still decompose.
    NodeTransform t;
    EXPECT_TRUE(t.decompose(Matrix::General(Rows({1, 0, 0}, {0, 1, 0}, Vec3{0, 0.09f, 1}))));
}
