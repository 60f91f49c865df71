#include "scene/AnimationPlayer.h"

#include "SceneTestSupport.h"
#include "platform/sys/Clock.h"
#include "scene/SceneNode.h"

#include <numbers>

using math::Vec3;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Moves along x from 0 at `start` to 10 at `end`, linearly.
std::shared_ptr<Animation> Slide(float start, float end) {
    auto animation = std::make_shared<Animation>();
    animation->positionTrack().setFlags(AnimationTrack::kLinear);
    animation->positionTrack().addKey(AnimationKey::Vector(start, {0, 0, 0}));
    animation->positionTrack().addKey(AnimationKey::Vector(end, {10, 0, 0}));
    return animation;
}

class AnimationPlayerTest : public testing::Test {
protected:
    sys::TestClock clock{5000};
    sys::ScopedClock useClock{clock};
    AnimationPlayer player{0};
};

}  // namespace

TEST_F(AnimationPlayerTest, AStoppedPlayerShowsTheStartOfItsRange) {
    player.setAnimation(Slide(1, 3));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.localTime({}), 1.0f);
    player.setFlags(AnimationPlayer::kLoopPlayRange);
    player.setPlayRange({2, 3});
    EXPECT_EQ(player.localTime({}), 2.0f);
    // An explicit pass time wins, less the offset.
    player.setTimeOffset(0.5f);
    EXPECT_EQ(player.localTime({true, 2.75f}), 2.25f);
    Matrix m;
    player.evaluate({true, 2.75f}, m);
    ExpectNear(m.TranslationRow(), {6.25f, 0, 0});
}

TEST_F(AnimationPlayerTest, SpeedTwoReachesTheEndInHalfTheTimeAndLoopsTheRangeItIsGiven) {
    player.setAnimation(Slide(0, 2));
    player.setSpeed(2.0f);
    player.setFlags(AnimationPlayer::kLoopPlayRange);
    player.setPlayRange({0, 2});
    player.play();
    clock.AdvanceMs(500);
    EXPECT_FLOAT_EQ(player.localTime({}), 1.0f);
    clock.AdvanceMs(499);
    EXPECT_NEAR(player.localTime({}), 1.998f, 1e-4f);
    clock.AdvanceMs(1);
    EXPECT_EQ(player.localTime({}), 0.0f);
    clock.AdvanceMs(250);
    EXPECT_FLOAT_EQ(player.localTime({}), 0.5f);

    // Clamping holds the last pose; looping the animation range wraps like the play range.
    player.setFlags(AnimationPlayer::kClampAnimationRange);
    EXPECT_EQ(player.localTime({}), 2.0f);
    player.setFlags(AnimationPlayer::kLoopAnimationRange);
    EXPECT_FLOAT_EQ(player.localTime({}), 0.5f);
    // Backwards play wraps from the end of the range.
    player.setSpeed(-1.0f);
    EXPECT_FLOAT_EQ(player.localTime({}), 0.75f);
}

TEST_F(AnimationPlayerTest, PauseFreezesTheTimeAndSetTimeMovesIt) {
    player.setAnimation(Slide(0, 10));
    player.play();
    clock.AdvanceMs(400);
    player.pause();
    clock.AdvanceMs(1000);
    EXPECT_FLOAT_EQ(player.localTime({}), 0.4f);
    player.setTime(1500);
    EXPECT_FLOAT_EQ(player.localTime({}), 1.5f);
    player.resume();
    clock.AdvanceMs(100);
    EXPECT_FLOAT_EQ(player.localTime({}), 1.6f);
    player.setSpeed(0);
    player.setTime(9000);
    EXPECT_EQ(player.localTime({}), 0.0f);
    player.setSpeed(0.5f);
    player.setTime(3000);
    EXPECT_FLOAT_EQ(player.localTime({}), 3.0f);
    player.stop();
    EXPECT_EQ(player.localTime({}), 0.0f);
}

TEST_F(AnimationPlayerTest, AnEmptyRangeNeverWrapsIntoNotANumber) {
    auto still = std::make_shared<Animation>();
    still->rotationTrack().addKey(AnimationKey::Rotation(0, math::QuatRotationAxis({0, 1, 0}, 1)));
    player.setAnimation(still);
    player.setFlags(AnimationPlayer::kLoopAnimationRange);
    player.play();
    clock.AdvanceMs(1234);
    EXPECT_EQ(player.localTime({}), 0.0f);
    player.setFlags(AnimationPlayer::kLoopPlayRange);
    EXPECT_EQ(player.localTime({}), 0.0f);
    Matrix m;
    player.evaluate({}, m);
    ExpectNear(m.m, math::RotationY(1));
    TimeRange range;
    player.setAnimation(nullptr);
    EXPECT_FALSE(player.getAnimationRange(range));
    player.evaluate({}, m);
    EXPECT_EQ(m.kind, uint32_t{kIdentityMatrix});
}

TEST_F(AnimationPlayerTest, TheStartUpSequencePlaysEveryTakeOverTheWholeTreesRange) {
    SceneNode root;
    auto first = std::make_unique<SceneNode>();
    first->setName("pendulum");
    first->addAnimation("", Slide(0, 2));
    auto second = std::make_unique<SceneNode>();
    second->setName("weight");
    second->addAnimation("", Slide(1, 4));
    second->addAnimation("other", Slide(0, 100));
    SceneNode* pendulum = root.addChild(std::move(first));
    SceneNode* weight = pendulum->addChild(std::move(second));
    SceneNode* plain = root.addChild(std::make_unique<SceneNode>());

    root.playAnimation(0, "", true);
    root.setSpeed(SceneNode::kAllComponents, 1.0f, true);
    root.setFlags(SceneNode::kAllComponents, AnimationPlayer::kLoopPlayRange, true);
    TimeRange range;
    ASSERT_TRUE(root.getAnimationRange(range));
    EXPECT_EQ(range.start, 0.0f);
    EXPECT_EQ(range.end, 4.0f);
    root.setPlayRange(SceneNode::kAllComponents, range, true);
    root.play(0, true);

    // Nodes without the animation get no player; playing again reuses the player.
    EXPECT_EQ(root.getTransformStack().size(), 1u);
    EXPECT_EQ(plain->getTransformStack().size(), 1u);
    root.playAnimation(0, "", true);
    root.play(0, true);
    ASSERT_EQ(weight->getTransformStack().size(), 2u);
    auto* player = weight->getTransformStack().find(0)->asPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->getFlags(), uint32_t{AnimationPlayer::kLoopPlayRange});
    EXPECT_EQ(player->getPlayRange().end, 4.0f);
    // A component id that is not a player is left as it is.
    root.playAnimation(SceneNode::kLocalComponent, "", true);
    EXPECT_EQ(weight->getTransformStack().find(SceneNode::kLocalComponent)->asPlayer(), nullptr);

    // 2.5 s in, the pendulum holds its last pose and the weight is half way; 4.5 s in, the
    // play range has started again.
    RenderContext context;
    context.flags = RenderContext::kTransformsOnly;
    clock.AdvanceMs(2500);
    root.render(context);
    ExpectNear(pendulum->getWorldMatrix().TranslationRow(), {10, 0, 0});
    ExpectNear(weight->getWorldMatrix().TranslationRow(), {15, 0, 0});
    clock.AdvanceMs(2000);
    root.render(context);
    ExpectNear(pendulum->getWorldMatrix().TranslationRow(), {2.5f, 0, 0});
    // With the pass's own time every player shows that moment.
    context.flags |= RenderContext::kExplicitTime;
    context.time = 1.0f;
    root.render(context);
    ExpectNear(weight->getWorldMatrix().TranslationRow(), {5, 0, 0});
    // Paused players keep their moment.
    context.flags = RenderContext::kTransformsOnly;
    root.setPaused(SceneNode::kAllComponents, true, true);
    root.setTime(0, 3000, true);
    clock.AdvanceMs(700);
    root.render(context);
    ExpectNear(weight->getWorldMatrix().TranslationRow(), {16.666666f, 0, 0}, 1e-4f);
}

TEST_F(AnimationPlayerTest, AHandTurnsAboutItsOwnPivotWhileItsNodePlacesItOnTheDial) {
    SceneNode root;
    auto made = std::make_unique<SceneNode>();
    made->setName("strelka_1big");
    made->getTransform().setPosition({5, 2, 0});
    auto* tip = new FakeRenderable;
    made->setRenderable(std::unique_ptr<Renderable>(tip));
    SceneNode* hand = root.addChild(std::move(made));
    const Vec3 tickPosition = hand->getTransform().getPosition();

    auto track = std::make_shared<Animation>();
    hand->addAnimation("", track);
    hand->playAnimation(0, "", true);
    hand->play(0, true);
    // Each frame the track gets one key: a quarter turn about (0, 1, 0).
    track->clear();
    track->rotationTrack().addKey(AnimationKey::Rotation(0, math::QuatRotationAxis({0, 1, 0}, kPi / 2)));
    clock.AdvanceMs(16);
    RenderContext context;
    context.flags = RenderContext::kSkipVisibility;
    root.render(context);

    // The pivot stays on the dial; the tip, one unit along z, swings to +x about it.
    const Matrix& world = tip->getWorldMatrix();
    ExpectNear(world.TranslationRow(), tickPosition);
    ExpectNear(math::TransformCoord({0, 0, 1}, world.m), {6, 2, 0});
    EXPECT_EQ(hand->getTransform().getPosition(), tickPosition);
    EXPECT_EQ(tip->draws, 1);
}
