#include "common/math/Math.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace math;

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(Vec3 actual, Vec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

void ExpectNear(const Mat4& actual, const Mat4& expected, float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << r << "," << c;
}

}  // namespace

TEST(Math, RowVectorsApplyLocalThenParent) {
    // Scale by 2, then move by (1, 0, 0): (1, 1, 1) -> (3, 2, 2).
    const Mat4 m = Multiply(Scaling(2, 2, 2), Translation(1, 0, 0));
    ExpectNear(TransformCoord({1, 1, 1}, m), {3, 2, 2});
    ExpectNear(TransformNormal({1, 1, 1}, m), {2, 2, 2});
}

TEST(Math, RotationsTurnClockwiseLookingDownTheAxis) {
    // Left-handed: a quarter turn about +y takes +x to -z and +z to +x.
    ExpectNear(TransformCoord({1, 0, 0}, RotationY(kHalfPi)), {0, 0, -1});
    ExpectNear(TransformCoord({0, 0, 1}, RotationY(kHalfPi)), {1, 0, 0});
    // About +z: +x goes to +y.
    ExpectNear(TransformCoord({1, 0, 0}, RotationZ(kHalfPi)), {0, 1, 0});
    // An unnormalised axis is normalised.
    ExpectNear(RotationAxis({0, 5, 0}, 0.3f), RotationY(0.3f));
}

TEST(Math, QuaternionsAgreeWithMatrices) {
    const Vec3 axis = Normalize({1, 2, 3});
    const Quat q = QuatRotationAxis(axis, 0.7f);
    ExpectNear(RotationQuaternion(q), RotationAxis(axis, 0.7f));
    const Quat back = QuatRotationMatrix(RotationAxis(axis, 0.7f));
    EXPECT_NEAR(std::fabs(QuatDot(back, q)), 1.0f, 1e-5f);
    // The product applies the first argument first, as the matrix product does.
    const Quat a = QuatRotationAxis({1, 0, 0}, 0.4f);
    const Quat b = QuatRotationAxis({0, 1, 0}, 1.1f);
    ExpectNear(RotationQuaternion(QuatMultiply(a, b)), Multiply(RotationQuaternion(a), RotationQuaternion(b)));
    ExpectNear(RotationQuaternion(QuatMultiply(q, QuatInverse(q))), Identity());
}

TEST(Math, SlerpTakesTheShortWayAndHitsItsEnds) {
    const Quat a = QuatRotationAxis({0, 1, 0}, 0.0f);
    const Quat b = QuatRotationAxis({0, 1, 0}, kHalfPi);
    const Quat mid = Slerp(a, b, 0.5f);
    ExpectNear(RotationQuaternion(mid), RotationY(kHalfPi / 2));
    // The same rotation with all signs flipped lies in the other hemisphere: still a quarter turn.
    const Quat flipped{-b.x, -b.y, -b.z, -b.w};
    ExpectNear(RotationQuaternion(Slerp(a, flipped, 0.5f)), RotationY(kHalfPi / 2));
    ExpectNear(RotationQuaternion(Slerp(a, b, 1.0f)), RotationY(kHalfPi));
    // Nearly equal quaternions interpolate without dividing by a tiny sine.
    const Quat c = QuatRotationAxis({0, 1, 0}, 1e-4f);
    const Quat nearly = Slerp(a, c, 0.5f);
    EXPECT_TRUE(std::isfinite(nearly.w));
}

TEST(Math, QuaternionLogAndExpAreInverses) {
    // The log of a rotation by a about n is n x a/2; exp brings it back.
    const Quat q = QuatRotationAxis({0, 0, 1}, 1.2f);
    const Quat log = QuatLn(q);
    EXPECT_NEAR(log.z, 0.6f, 1e-6f);
    EXPECT_EQ(log.w, 0.0f);
    const Quat back = QuatExp(log);
    EXPECT_NEAR(QuatDot(back, q), 1.0f, 1e-6f);
    // The identity and tiny rotations stay finite both ways.
    const Quat zero = QuatLn(Quat{});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(QuatExp(zero), Quat{});
    const Quat tiny = QuatExp(QuatLn(QuatRotationAxis({1, 0, 0}, 1e-6f)));
    EXPECT_NEAR(tiny.w, 1.0f, 1e-6f);
    // Half of the log is half the rotation.
    const Quat half = QuatExp({log.x * 0.5f, log.y * 0.5f, log.z * 0.5f, 0});
    ExpectNear(RotationQuaternion(half), RotationZ(0.6f));
}

TEST(Math, InverseUndoesAndRefusesSingularMatrices) {
    const Mat4 m = Multiply(Multiply(Scaling(2, 3, 4), RotationAxis({1, 1, 0}, 0.5f)), Translation(5, -6, 7));
    Mat4 inv;
    float det = 0;
    ASSERT_TRUE(Inverse(m, inv, &det));
    EXPECT_NEAR(det, 24.0f, 1e-3f);
    ExpectNear(Multiply(m, inv), Identity(), 1e-4f);
    Mat4 untouched = Translation(1, 2, 3);
    EXPECT_FALSE(Inverse(Scaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, Translation(1, 2, 3));
}

TEST(Math, LookAtAndPerspectiveMatchHandWorkedValues) {
    // Eye at (0, 0, -10) looking at the origin: the view is a plain translation by +10 in z.
    ExpectNear(LookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0}), Translation(0, 0, 10));
    // Looking down +x from the origin: world +x is view +z, world -z is view +x.
    const Mat4 side = LookAtLH({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    ExpectNear(TransformCoord({1, 0, 0}, side), {0, 0, 1});
    ExpectNear(TransformCoord({0, 0, -1}, side), {1, 0, 0});
    // 90 degree field of view, aspect 2, near 1, far 101: cot(45) = 1.
    const Mat4 p = PerspectiveFovLH(kHalfPi, 2.0f, 1.0f, 101.0f);
    EXPECT_NEAR(p(0, 0), 0.5f, 1e-6f);
    EXPECT_NEAR(p(1, 1), 1.0f, 1e-6f);
    EXPECT_NEAR(p(2, 2), 1.01f, 1e-6f);
    EXPECT_NEAR(p(3, 2), -1.01f, 1e-6f);
    EXPECT_EQ(p(2, 3), 1.0f);
    EXPECT_EQ(p(3, 3), 0.0f);
    // Points on the near and far planes land at depth 0 and 1.
    EXPECT_NEAR(TransformCoord({0, 0, 1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(TransformCoord({0, 0, 101}, p).z, 1.0f, 1e-6f);
}
