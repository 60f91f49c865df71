#pragma once
// ARGB pixels written in the texture formats the device keeps, and which formats have alpha.

#include <cstdint>

#include "platform/gfx/Types.h"

namespace gfx {

bool FormatHasAlpha(D3DFORMAT format);
// The format a texture takes for pixels the file stores as `fileFormat`, among those devices
// have: 24-bit, luminance, palette and byte-swapped files become 32-bit ARGB or XRGB.
D3DFORMAT TextureFormatFor(D3DFORMAT fileFormat);
// Writes `count` pixels of a plain (not block-compressed) format.
void PackRow(D3DFORMAT format, const uint32_t* argb, uint32_t count, uint8_t* out);

}  // namespace gfx
