#pragma once
// Colours of the painters: linear RGB in floats, 0 to 1 a channel (light may go above 1 until a
// picture is turned into pixels).

#include <cstdint>

namespace paint {

struct Rgb {
    float r = 0, g = 0, b = 0;
    friend Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
    friend Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
    friend Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
};

// 8-bit channels, 0 to 255 each.
Rgb Bytes(int r, int g, int b);
// 0xRRGGBB.
Rgb Hex(uint32_t rgb);
Rgb Mix(Rgb a, Rgb b, float t);

struct Point {
    float x = 0, y = 0;
};

}  // namespace paint
