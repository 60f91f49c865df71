#include "clock/ClockHands.h"

#include <numbers>

#include "scene/Animation.h"

HandAngles HandAnglesAt(const sys::LocalTime& time) {
    constexpr float kTurn = 2.0f * std::numbers::pi_v<float>;
    const float minuteFraction = (static_cast<float>(time.second) + static_cast<float>(time.millisecond) / 1000.0f) / 60.0f;
    const float hourFraction = (static_cast<float>(time.minute) + minuteFraction) / 60.0f;
    const float dialFraction = (static_cast<float>(time.hour % 12) + hourFraction) / 12.0f;
    return {kTurn * dialFraction, kTurn * hourFraction - std::numbers::pi_v<float> / 2.0f};
}

void SetHandKey(Animation& hand, float angle) {
    hand.clear();
    hand.rotationTrack().addKey(AnimationKey::Rotation(0.0f, math::QuatRotationAxis({0.0f, 1.0f, 0.0f}, angle)));
    hand.positionTrack().addKey(AnimationKey::Vector(0.0f, {0.0f, 0.0f, 0.0f}));
}
