#pragma once
// Procedural painting: linear RGB images, tileable value noise and a few drawing helpers. Every
// pattern is a pure function of its coordinates and seed, so the output never varies.

#include <cstdint>
#include <vector>

#include "platform/gfx/loader/Image.h"

namespace room {

struct Rgb {
    float r = 0, g = 0, b = 0;
    friend Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
    friend Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
    friend Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
};

// 0xRRGGBB to 0..1 channels.
Rgb Hex(uint32_t rgb);
Rgb Mix(Rgb a, Rgb b, float t);

struct Picture {
    Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h), alpha(pixels.size(), 1.0f) {}
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    // Calls `paint(u, v)` with u, v in [0, 1) at each pixel centre and stores its colour.
    template <typename Paint>
    void Fill(const Paint& paint) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                At(x, y) = paint((x + 0.5f) / width, (y + 0.5f) / height);
    }
    gfx::ArgbImage ToArgb() const;

    int width, height;
    std::vector<Rgb> pixels;
    std::vector<float> alpha;
};

// Value noise in [0, 1] at texture coordinates (u, v) on a lattice of `cellsU` x `cellsV` cells
// per unit, so a texture spanning [0, 1) tiles seamlessly.
float Noise(float u, float v, int cellsU, int cellsV, uint32_t seed);
// Sum of `octaves` noises, each twice as fine and half as strong; in [0, 1].
float Fbm(float u, float v, int octaves, int cellsU, int cellsV, uint32_t seed);
// A number in [0, 1) from integers.
float Hash(int x, int y, uint32_t seed);
float Smoothstep(float edge0, float edge1, float x);
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by);
// Wood running along u: long streaks and fine lines; in [0, 1]. Tiles over [0, 1).
float WoodGrain(float u, float v, uint32_t seed);

}  // namespace room
