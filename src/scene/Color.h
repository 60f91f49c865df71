#pragma once
// The engine's colour value and the routines that turn colours into render-state values.

#include <cstdint>

// Four floats in the order alpha, red, green, blue.
struct EngineColor {
    float a = 0, r = 0, g = 0, b = 0;
    friend bool operator==(const EngineColor&, const EngineColor&) = default;
};

// ARGB word for render states such as the texture factor: each channel truncate(value x 256),
// kept within 0 to 255.
uint32_t PackColor(const EngineColor& color);

// The blends below give alpha 1.0.
// f1 x c1 + f2 x c2 per channel, at most 1.
EngineColor BlendSum(const EngineColor& c1, float f1, const EngineColor& c2, float f2);
// f1 x c1 - f2 x c2 per channel, at least 0.
EngineColor BlendDifference(const EngineColor& c1, float f1, const EngineColor& c2, float f2);
// f1 x c1 x f2 x c2 per channel.
EngineColor BlendProduct(const EngineColor& c1, float f1, const EngineColor& c2, float f2);
