#pragma once
// A quad drawn in screen space over whatever the frame holds: a texture or a flat colour, with
// the colour word's alpha as its opacity. Depth is ignored while it is drawn.

#include <cstdint>

#include "platform/gfx/Device.h"

struct ScreenBox {
    float x0, y0, x1, y1;
    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

// `color` (ARGB) modulates `texture`, or is drawn alone when `texture` is null. False when the
// device refused the draw.
bool DrawScreenQuad(gfx::Device& device, const ScreenBox& box, gfx::Texture* texture, uint32_t color);

// An ARGB word of `opacity` (0 to 1) and the colour r, g, b.
uint32_t OpacityColor(float opacity, uint8_t r, uint8_t g, uint8_t b);
