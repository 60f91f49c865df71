#pragma once
// Bakes the room's light: packs every light-mapped object's charts into pages (padded, and the
// padding filled from the chart's edge so filtering never reaches a neighbour), traces each texel,
// smooths within charts, and lights the vertices of moving parts at rest.

#include <vector>

#include "Model.h"
#include "paint/Canvas.h"

namespace room {

inline constexpr int kLightMapSize = 1024;
inline constexpr int kChartPadding = 2;

// Fills each light-mapped vertex's lightUv and page and each vertex-lit vertex's colour; gives the
// pages. `threads` workers share the texels; the result does not depend on their number.
std::vector<paint::Canvas> BakeLighting(RoomModel& model, int threads);

}  // namespace room
