#pragma once
// Block-compressed DDS files with a full chain of mip levels, made with the engine's own DXT
// encoder, so textures load small and filter well at any distance.

#include <cstdint>
#include <vector>

#include "platform/gfx/loader/Image.h"

namespace room {

// DXT1 (no alpha) from level 0 down to 1 x 1, each level a box-filtered half of the one before.
std::vector<uint8_t> EncodeDxt1Dds(const gfx::ArgbImage& image);

}  // namespace room
