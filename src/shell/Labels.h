#pragma once
// The two labels over the scene: the frame rate in the top-left corner and the time, which the
// main loop keeps in the lower-right corner.

#include "overlay/TextLabel.h"
#include "overlay/WindowManager.h"

// The names the font files give the two fonts.
inline constexpr const char* kInterfaceFontName = "Sylfaen";
inline constexpr const char* kClockFontName = "64font";

// Both sized for the UI scale `s` (client width / 1024).
TextLabel* AddFrameRateLabel(WindowManager& overlay, float s);
TextLabel* AddClockLabel(WindowManager& overlay, float s, bool twentyFourHour);
