#include "clock/ClockHands.h"

#include <gtest/gtest.h>

#include <numbers>

#include "scene/Animation.h"

namespace {
constexpr float kPi = std::numbers::pi_v<float>;

sys::LocalTime At(int h, int m, int s, int ms = 0) {
    sys::LocalTime time;
    time.hour = h;
    time.minute = m;
    time.second = s;
    time.millisecond = ms;
    return time;
}
}  // namespace

TEST(ClockHands, AnglesAtTheDialsMarks) {
    for (int hour : {0, 12}) {
        const HandAngles angles = HandAnglesAt(At(hour, 0, 0));
        EXPECT_FLOAT_EQ(angles.hour, 0.0f) << hour;
        EXPECT_FLOAT_EQ(angles.minute, -kPi / 2) << hour;
    }
    for (int hour : {6, 18}) {
        const HandAngles angles = HandAnglesAt(At(hour, 30, 0));
        EXPECT_FLOAT_EQ(angles.hour, 2 * kPi * 6.5f / 12) << hour;
        EXPECT_FLOAT_EQ(angles.minute, kPi / 2) << hour;
    }
}

TEST(ClockHands, HandsMoveContinuouslyWithinASecond) {
    const HandAngles before = HandAnglesAt(At(9, 45, 10, 0));
    const HandAngles after = HandAnglesAt(At(9, 45, 10, 500));
    EXPECT_GT(after.minute, before.minute);
    EXPECT_GT(after.hour, before.hour);
    // Half a second turns the minute hand by 2 pi / 7200.
    EXPECT_NEAR(after.minute - before.minute, 2 * kPi / 7200, 1e-5);
}

TEST(ClockHands, KeyHoldsTheRotationAboutTheDialAxis) {
    Animation hand;
    SetHandKey(hand, 1.0f);
    SetHandKey(hand, kPi / 2);  // replaces the earlier key
    ASSERT_EQ(hand.rotationTrack().keyCount(), 1u);
    ASSERT_EQ(hand.positionTrack().keyCount(), 1u);
    Matrix m;
    hand.evaluate(0.0f, m);
    // A quarter turn about +y takes +x to -z (left-handed, as the platform's math builds it).
    const math::Vec3 x = math::TransformNormal({1, 0, 0}, m.m);
    EXPECT_NEAR(x.x, 0.0f, 1e-6);
    EXPECT_NEAR(x.z, -1.0f, 1e-6);
    EXPECT_EQ(m.TranslationRow(), (math::Vec3{0, 0, 0}));
}
