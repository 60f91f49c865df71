#include "scene/AnimationPlayer.h"

#include "common/Timing.h"

#include <algorithm>
#include <cmath>
#include <utility>

void AnimationPlayer::setAnimation(std::shared_ptr<Animation> animation) {
    animation_ = std::move(animation);
    animationRange_ = {};
    hasAnimationRange_ = animation_ && animation_->getRange(animationRange_);
    stop();
}

bool AnimationPlayer::getAnimationRange(TimeRange& out) const {
    if (hasAnimationRange_) out = animationRange_;
    return hasAnimationRange_;
}

void AnimationPlayer::play() {
    startTime_ = NowMs();
    playing_ = true;
    paused_ = false;
}

void AnimationPlayer::stop() {
    playing_ = false;
    paused_ = false;
}

void AnimationPlayer::pause() {
    if (paused_) return;
    pausedTime_ = NowMs();
    paused_ = true;
}

void AnimationPlayer::resume() {
    if (!paused_) return;
    startTime_ += NowMs() - pausedTime_;
    paused_ = false;
}

int64_t AnimationPlayer::clockNow() const { return paused_ ? pausedTime_ : NowMs(); }

void AnimationPlayer::setTime(float ms) {
    if (speed_ == 0.0f) return;
    const double offset = static_cast<double>(ms) / speed_;
    // Beyond any clock reading: refused rather than overflowing the start time.
    if (!(std::fabs(offset) < 1e15)) return;
    startTime_ = clockNow() - std::llround(offset);
}

float AnimationPlayer::localTime(const AnimationTime& time) const {
    float t;
    if (time.isExplicit) t = time.seconds;
    else if (playing_) t = static_cast<float>(clockNow() - startTime_) / 1000.0f * speed_;
    else t = (flags_ & kLoopPlayRange) ? playRange_.start : animationRange_.start;
    t -= timeOffset_;
    if (flags_ & kClampAnimationRange) return std::clamp(t, animationRange_.start, animationRange_.end);
    if (flags_ & kLoopAnimationRange) return WrapTime(t, animationRange_.start, animationRange_.end);
    if (flags_ & kLoopPlayRange) return WrapTime(t, playRange_.start, playRange_.end);
    return t;
}

void AnimationPlayer::evaluate(const AnimationTime& time, Matrix& out) {
    if (!animation_) {
        out.SetIdentity();
        return;
    }
    animation_->evaluate(localTime(time), out);
}

void AnimationPlayer::multiplyInto(Matrix& product, const AnimationTime& time) {
    if (!animation_) return;
    Matrix animated;
    evaluate(time, animated);
    product = product * animated;
}
