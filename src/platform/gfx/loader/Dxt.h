#pragma once
// DXT1, DXT3 and DXT5 blocks: decoded in software (for drivers without them, and for scaling and
// colour keys) and encoded again when a texture of those formats is filled from other pixels.

#include <cstdint>

#include "platform/gfx/Types.h"
#include "platform/gfx/loader/Image.h"

namespace gfx {

bool IsDxt(D3DFORMAT format);
// Bytes a level of `width` x `height` pixels takes in `format` (whole 4 x 4 blocks).
uint64_t DxtLevelBytes(D3DFORMAT format, uint32_t width, uint32_t height);

// `blocks` holds the level's rows of blocks back to back; `out` is already sized.
void DecodeDxt(D3DFORMAT format, const uint8_t* blocks, ArgbImage& out);
// Fills the blocks that cover `image`, starting at `dest`, rows of blocks `pitch` bytes apart.
// Pixels past the image's edge repeat its last row and column.
void EncodeDxt(D3DFORMAT format, const ArgbImage& image, uint8_t* dest, int32_t pitch);

}  // namespace gfx
