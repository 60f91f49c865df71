#include "scene/AnimationTrack.h"

#include "SceneTestSupport.h"
#include "scene/Animation.h"

#include <cmath>
#include <limits>
#include <numbers>

using math::Quat;
using math::Vec3;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vec3 At(AnimationTrack& track, float time) {
    Vec3 v{-99, -99, -99};
    EXPECT_TRUE(track.evaluate(time, v));
    return v;
}

float AngleAboutY(AnimationTrack& track, float time) {
    Quat q;
    EXPECT_TRUE(track.evaluate(time, q));
    EXPECT_NEAR(q.x, 0.0f, 1e-5f);
    EXPECT_NEAR(q.z, 0.0f, 1e-5f);
    return 2.0f * std::atan2(q.y, q.w);
}

AnimationTrack LineTrack(std::initializer_list<std::pair<float, float>> keys, uint32_t flags = 0) {
    AnimationTrack track(AnimationTrack::Kind::Vector);
    track.setFlags(flags);
    for (auto [time, x] : keys) track.addKey(AnimationKey::Vector(time, {x, 0, 0}));
    return track;
}

}  // namespace

TEST(AnimationTrack, KeepsKeysOrderedAndReplacesAKeyAtTheSameTime) {
    AnimationTrack track = LineTrack({{2, 20}, {0, 0}, {1, 10}});
    EXPECT_TRUE(track.addKey(AnimationKey::Vector(1, {11, 0, 0})));
    EXPECT_FALSE(track.addKey(AnimationKey::Vector(std::numeric_limits<float>::quiet_NaN(), {})));
    ASSERT_EQ(track.keyCount(), 3u);
    EXPECT_EQ(track.key(0).time, 0.0f);
    EXPECT_EQ(track.key(1).data[0], 11.0f);
    TimeRange range;
    ASSERT_TRUE(track.getRange(range));
    EXPECT_EQ(range.end, 2.0f);
    Quat wrongKind;
    EXPECT_FALSE(track.evaluate(0.5f, wrongKind));
    track.clear();
    Vec3 untouched{7, 7, 7};
    EXPECT_FALSE(track.evaluate(0.5f, untouched));
    EXPECT_EQ(untouched.x, 7.0f);
}

TEST(AnimationTrack, KeyTimesGiveKeyValuesAndTimesOutsideHoldTheEnds) {
    AnimationTrack track = LineTrack({{1, 5}, {2, -3}, {4, 8}});
    EXPECT_EQ(At(track, 2).x, -3.0f);
    EXPECT_EQ(At(track, 0).x, 5.0f);
    EXPECT_EQ(At(track, -100).x, 5.0f);
    EXPECT_EQ(At(track, 9).x, 8.0f);
    // Wrapping brings times outside the keys back into their range, from either side.
    track.setFlags(AnimationTrack::kWrap);
    EXPECT_NEAR(At(track, 5).x, At(track, 2).x, 1e-5f);
    EXPECT_NEAR(At(track, -0.5f).x, At(track, 2.5f).x, 1e-5f);
    // One key holds its value at every time.
    AnimationTrack single = LineTrack({{3, 4}}, AnimationTrack::kWrap);
    EXPECT_EQ(At(single, 0).x, 4.0f);
}

TEST(AnimationTrack, EaseScalesOversizedValuesAndBendsTheSegment) {
    EXPECT_FLOAT_EQ(Ease(0.25f, 0.6f, 0.6f), 0.125f);
    EXPECT_FLOAT_EQ(Ease(0.5f, 0.6f, 0.6f), 0.5f);
    EXPECT_EQ(Ease(0.3f, 0, 0), 0.3f);
    EXPECT_EQ(Ease(1.0f, 0.5f, 0), 1.0f);
    // Continuous and rising through all three pieces.
    float previous = 0;
    for (int i = 1; i <= 1000; ++i) {
        const float e = Ease(static_cast<float>(i) / 1000, 0.3f, 0.2f);
        EXPECT_GE(e, previous);
        EXPECT_LT(e - previous, 0.003f);
        previous = e;
    }
    EXPECT_NEAR(previous, 1.0f, 1e-5f);

    // On a linear track the ease of the two keys shapes the segment between them.
    AnimationTrack track(AnimationTrack::Kind::Vector);
    track.setFlags(AnimationTrack::kLinear);
    track.addKey(AnimationKey::Vector(0, {0, 0, 0}, 0, 0, 0, 0.6f));
    track.addKey(AnimationKey::Vector(4, {8, 0, 0}, 0, 0, 0, 0.6f));
    EXPECT_NEAR(At(track, 1).x, 1.0f, 1e-5f);
    EXPECT_NEAR(At(track, 2).x, 4.0f, 1e-5f);
}

TEST(AnimationTrack, CurvesPassThroughEveryKeyWithoutJumps) {
    AnimationTrack track(AnimationTrack::Kind::Vector);
    const Vec3 values[4] = {{0, 0, 0}, {2, 5, -1}, {3, -2, 4}, {7, 1, 1}};
    const float times[4] = {0, 1, 2.5f, 3};
    for (int i = 0; i < 4; ++i) track.addKey(AnimationKey::Vector(times[i], values[i], 0.2f, -0.3f, 0.4f));
    for (int i = 0; i < 4; ++i) {
        ExpectNear(At(track, times[i]), values[i]);
        ExpectNear(At(track, times[i] - 1e-4f), values[i], 1e-2f);
        ExpectNear(At(track, times[i] + 1e-4f), values[i], 1e-2f);
    }
    Vec3 previous = At(track, 0);
    for (int i = 1; i <= 300; ++i) {
        const Vec3 v = At(track, static_cast<float>(i) / 100);
        EXPECT_LT(math::Length(v - previous), 0.5f) << "at " << i;
        previous = v;
    }
}

TEST(AnimationTrack, CurvesThroughEvenMotionStayEvenAlsoWithUnevenKeys) {
    // Constant speed with keys at uneven times: the tangents follow the speed, not the spacing,
    // and the open ends do not bend.
    AnimationTrack track = LineTrack({{0, 0}, {1, 1}, {3, 3}, {3.5f, 3.5f}});
    for (float t : {0.25f, 0.5f, 1.5f, 2.0f, 2.9f, 3.25f}) EXPECT_NEAR(At(track, t).x, t, 1e-4f) << t;
    // Full tension flattens the tangents: two keys then follow 3u^2 - 2u^3.
    AnimationTrack tense(AnimationTrack::Kind::Vector);
    tense.addKey(AnimationKey::Vector(0, {0, 0, 0}, 1));
    tense.addKey(AnimationKey::Vector(1, {1, 0, 0}, 1));
    EXPECT_NEAR(At(tense, 0.25f).x, 0.15625f, 1e-5f);
}

TEST(AnimationTrack, CyclicTracksJoinTheirEndsSmoothly) {
    // Up and back down over two seconds: as a loop, it leaves and arrives flat.
    AnimationTrack open = LineTrack({{0, 0}, {1, 1}, {2, 0}});
    AnimationTrack cyclic = LineTrack({{0, 0}, {1, 1}, {2, 0}}, AnimationTrack::kCyclic);
    const float h = 0.01f;
    EXPECT_NEAR(At(cyclic, h).x, At(cyclic, 2 - h).x, 1e-5f);
    EXPECT_LT(At(cyclic, h).x, 0.001f);
    EXPECT_GT(At(open, h).x, 0.01f);
}

TEST(AnimationTrack, RotationsTakeTheShortWayBetweenOppositeHemispheres) {
    const Quat start = math::QuatRotationAxis({0, 1, 0}, 0);
    const Quat quarter = math::QuatRotationAxis({0, 1, 0}, kPi / 2);
    const Quat flipped{-quarter.x, -quarter.y, -quarter.z, -quarter.w};
    for (uint32_t flags : {uint32_t{0}, uint32_t{AnimationTrack::kLinear}}) {
        AnimationTrack track(AnimationTrack::Kind::Rotation);
        track.setFlags(flags);
        track.addKey(AnimationKey::Rotation(0, start));
        track.addKey(AnimationKey::Rotation(1, flipped));
        EXPECT_NEAR(AngleAboutY(track, 0.5f), kPi / 4, 1e-4f) << flags;
    }
}

TEST(AnimationTrack, RotationCurvesPassThroughTheirKeysAndTurnEvenly) {
    AnimationTrack track(AnimationTrack::Kind::Rotation);
    for (int i = 0; i < 4; ++i)
        track.addKey(AnimationKey::Rotation(static_cast<float>(i), math::QuatRotationAxis({0, 1, 0}, 0.5f * i)));
    for (float t : {0.0f, 1.0f, 2.0f, 3.0f, 0.5f, 1.25f, 2.7f}) EXPECT_NEAR(AngleAboutY(track, t), 0.5f * t, 1e-4f) << t;
}

TEST(Animation, CombinesScaleRotationAndPositionInThatOrder) {
    Animation animation;
    Matrix m;
    animation.evaluate(1, m);
    ExpectNear(m.m, math::Mat4{});
    TimeRange range;
    EXPECT_FALSE(animation.getRange(range));

    animation.scaleTrack().addKey(AnimationKey::Vector(1, {2, 2, 2}));
    animation.rotationTrack().addKey(AnimationKey::Rotation(-1, math::QuatRotationAxis({0, 1, 0}, kPi / 2)));
    animation.positionTrack().addKey(AnimationKey::Vector(5, {1, 2, 3}));
    animation.evaluate(0, m);
    const math::Mat4 expected =
        math::Multiply(math::Multiply(math::Scaling(2, 2, 2), math::RotationY(kPi / 2)), math::Translation(1, 2, 3));
    ExpectNear(m.m, expected);
    ASSERT_TRUE(animation.getRange(range));
    EXPECT_EQ(range.start, -1.0f);
    EXPECT_EQ(range.end, 5.0f);
}
