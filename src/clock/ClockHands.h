#pragma once
// The clock's two hands turned to a time of day: continuous angles (no ticking steps) about the
// dial's axis, and the one-key animations that hold them.

#include "platform/sys/System.h"

class Animation;

struct HandAngles {
    float hour = 0;    // radians about +y; 0 at twelve
    float minute = 0;  // radians about +y; the minute hand's model rests a quarter turn further
};

HandAngles HandAnglesAt(const sys::LocalTime& time);

// Replaces the animation's keys by one key at time 0: the rotation about +y by `angle`, no
// translation.
void SetHandKey(Animation& hand, float angle);
