#pragma once
// A transform component that plays an animation on the engine clock, or at the explicit time
// of a render pass, and multiplies the animated matrix into its node's stack.

#include "scene/Animation.h"
#include "scene/TransformStack.h"

#include <cstdint>
#include <memory>

class AnimationPlayer final : public TransformComponent {
public:
    enum Flags : uint32_t {
        kLoopAnimationRange = 2,   // wrap over the animation's keys
        kClampAnimationRange = 4,  // hold the first and last poses
        kLoopPlayRange = 8,        // wrap over the range set from outside
    };

    explicit AnimationPlayer(int id) : TransformComponent(id) {}

    // Plays `animation` from now on (null plays nothing): takes its range and stops.
    void setAnimation(std::shared_ptr<Animation> animation);
    const std::shared_ptr<Animation>& getAnimation() const { return animation_; }
    // First and last key time of the animation; false without an animation or keys.
    bool getAnimationRange(TimeRange& out) const;

    // Starts at local time 0.
    void play();
    void stop();
    // Freezes the local time; resume goes on from there.
    void pause();
    void resume();
    bool isPlaying() const { return playing_; }
    bool isPaused() const { return paused_; }

    // Moves the local time to `ms` milliseconds; does nothing at speed 0.
    void setTime(float ms);
    void setSpeed(float speed) { speed_ = speed; }
    void setFlags(uint32_t flags) { flags_ = flags; }
    void setPlayRange(const TimeRange& range) { playRange_ = range; }
    void setTimeOffset(float seconds) { timeOffset_ = seconds; }
    float getSpeed() const { return speed_; }
    uint32_t getFlags() const { return flags_; }
    const TimeRange& getPlayRange() const { return playRange_; }

    // The animation time, in seconds, the player shows at `time`.
    float localTime(const AnimationTime& time) const;
    // The animated matrix at `time`; the identity without an animation.
    void evaluate(const AnimationTime& time, Matrix& out);

    void multiplyInto(Matrix& product, const AnimationTime& time) override;
    AnimationPlayer* asPlayer() override { return this; }

private:
    int64_t clockNow() const;

    uint32_t flags_ = 0;
    std::shared_ptr<Animation> animation_;
    TimeRange animationRange_;
    bool hasAnimationRange_ = false;
    TimeRange playRange_;
    float timeOffset_ = 0;
    float speed_ = 1.0f;
    int64_t startTime_ = 0;
    int64_t pausedTime_ = 0;
    bool playing_ = false;
    bool paused_ = false;
};
