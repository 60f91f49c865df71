#pragma once
// The clock's moving parts, each a node of its own: the application turns the hands and the
// animation swings the pendulum.

#include "Model.h"

namespace room {

// Lying in their node's x-z plane, pivot at the origin, facing local +y (the room): the hour hand
// points along +z (12 o'clock at angle 0), the minute hand along +x (12 o'clock at -pi/2).
SceneObject HourHand();
SceneObject MinuteHand();
// Rod and bob hanging from the pivot, swinging about x with a two-second period.
SceneObject Pendulum();
SceneObject Weight(float z);

// Length of the looping animation range; every animation of the room fits it a whole number of
// times, so the loop has no seam. Long enough for the clouds outside to drift at a cloud's pace.
inline constexpr float kAnimationSeconds = 60;

}  // namespace room
