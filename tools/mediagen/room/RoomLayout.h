#pragma once
// Where things stand in the room, in centimetres. Left-handed, y up; the clock stands against the
// far wall (x = kRoomMax.x) facing -x, the fallback camera sits at (-200, 100, 0) looking at it.

#include "common/math/Math.h"

namespace room {

inline constexpr math::Vec3 kRoomMin{-250, 0, -200};
inline constexpr math::Vec3 kRoomMax{200, 280, 200};
inline constexpr float kWallThickness = 16;
inline constexpr float kDadoHeight = 90;

// The window in the far wall: z range and top; its sill is at the dado height.
inline constexpr math::Vec3 kWindowMin{200, 90, -165};
inline constexpr math::Vec3 kWindowMax{216, 230, -75};
inline constexpr float kWindowTop = 230;
inline constexpr float kWindowGlassX = 208;

inline constexpr float kOutdoorX = 290;
// The landscape picture spans this plane from (y, z) = (460, 100) down to (-40, -520), a little
// more than the quad that shows it, which covers only what the camera paths see through the
// window. It is drawn before the room, so every pixel of it costs fill time even where the wall
// hides it.
inline constexpr math::Vec3 kLandscapeMin{kOutdoorX, -40, -520};
inline constexpr math::Vec3 kLandscapeMax{kOutdoorX, 460, 100};
inline constexpr math::Vec3 kOutdoorMin{kOutdoorX, -30, -500};
inline constexpr math::Vec3 kOutdoorMax{kOutdoorX, 445, 60};
// Low clouds drift past in front of it, in a band from kCloudsBottom to kCloudsTop, above the
// hills; they are drawn with the room, so only where the window shows them.
inline constexpr float kCloudsX = kOutdoorX - 10;
inline constexpr float kCloudsBottom = 175;
inline constexpr float kCloudsTop = 295;

// The clock: case front and dial.
inline constexpr float kClockBack = 200;
inline constexpr math::Vec3 kDialCentre{169.5f, 165, 0};
inline constexpr float kDialRadius = 15;

inline constexpr math::Vec3 kLampBase{152, 0, 78};
inline constexpr float kLampShadeBottom = 128;
inline constexpr float kLampShadeTop = 158;
inline constexpr math::Vec3 kPictureCentre{199, 150, 130};
inline constexpr math::Vec3 kTableCentre{172, 0, 130};
inline constexpr math::Vec3 kChairCentre{40, 0, 150};
inline constexpr math::Vec3 kBookcaseMin{-205, 0, 168};
inline constexpr math::Vec3 kBookcaseMax{-105, 195, 200};

}  // namespace room
