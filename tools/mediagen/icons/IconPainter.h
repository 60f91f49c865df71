#pragma once
// The saver's icon, painted at any size from shapes in a unit square: a pendulum clock's case,
// its dial at ten past ten and the pendulum behind its glass, on a transparent ground.

#include <cstdint>

#include "platform/gfx/loader/Image.h"

gfx::ArgbImage PaintIcon(uint32_t size);
