#pragma once
// Scaling ARGB images with the extension library's filters, and the colour key.

#include <cstdint>

#include "platform/gfx/Types.h"
#include "platform/gfx/loader/Image.h"

namespace gfx {

// Filter values without their flag bits; 0 for anything that is not a filter.
uint32_t FilterKind(uint32_t filter);

// `filter` is a D3DX_FILTER_ kind: NONE copies the overlap (the rest transparent black), POINT
// takes the nearest pixel, LINEAR, TRIANGLE and BOX average the area each output pixel covers
// when shrinking and interpolate between the nearest pixels when growing.
ArgbImage Resize(const ArgbImage& source, uint32_t width, uint32_t height, uint32_t filter);

// Pixels equal to `key` become transparent black; a key of 0 changes nothing.
void ApplyColorKey(ArgbImage& image, D3DCOLOR key);

}  // namespace gfx
