#pragma once
// A small painter's canvas: straight-alpha RGBA in floats, with anti-aliased shapes drawn by
// coverage, soft glows and gradients.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/loader/Image.h"

struct Color {
    float r = 0, g = 0, b = 0;
};

Color Mix(Color a, Color b, float t);
Color Scale(Color c, float s);

struct Point {
    float x = 0, y = 0;
};

class Canvas {
public:
    Canvas(int width, int height, Color fill, float alpha);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints `color` with `alpha` over the pixel.
    void Blend(int x, int y, Color color, float alpha);
    // Paints where `inside` holds, with coverage from 4 x 4 samples per pixel, inside the box.
    void Fill(float x0, float y0, float x1, float y1, Color color, float alpha,
              const std::function<bool(float, float)>& inside);
    void FillRect(float x0, float y0, float x1, float y1, Color color, float alpha);
    void FillEllipse(float cx, float cy, float rx, float ry, Color color, float alpha);
    // A line of `width` along the points, with round joins and ends.
    void Stroke(const std::vector<Point>& points, float width, Color color, float alpha);
    // Adds light: `color` x `strength`, falling off as a Gaussian of `radius`.
    void Glow(float cx, float cy, float radius, Color color, float strength);
    // Rows from `top` to `bottom` between two colours.
    void VerticalGradient(int x0, int x1, int top, int bottom, Color from, Color to, float alpha);
    // Darkens towards the corners.
    void Vignette(float strength);
    // Adds a faint deterministic grain against banding.
    void Grain(float amount, uint32_t seed);

    gfx::ArgbImage ToImage() const;

private:
    struct Pixel {
        float r, g, b, a;
    };
    int width_, height_;
    std::vector<Pixel> pixels_;
};

// A repeatable pseudo-random sequence for scattering rain and grain.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    float Next();  // 0 to 1

private:
    uint32_t state_;
};
