#pragma once
// A painter's canvas: straight-alpha colour in floats, with anti-aliased shapes drawn by
// coverage, soft glows, gradients and whole-picture patterns.

#include <cstdint>
#include <functional>
#include <vector>

#include "paint/Color.h"
#include "platform/gfx/loader/Image.h"

namespace paint {

class Canvas {
public:
    // kEightBit rounds every paint to whole 8-bit levels, as a picture painted straight into a
    // 24-bit file is; only for opaque canvases.
    enum class Depth { kFloat, kEightBit };

    Canvas(int width, int height, Rgb fill = {}, float alpha = 1, Depth depth = Depth::kFloat);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb& At(int x, int y) { return colours_[Index(x, y)]; }
    const Rgb& At(int x, int y) const { return colours_[Index(x, y)]; }
    float& AlphaAt(int x, int y) { return alpha_[Index(x, y)]; }

    // Calls `paint(u, v)` with u, v in [0, 1) at each pixel centre and stores its colour.
    template <typename Paint>
    void Fill(const Paint& paint) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                At(x, y) = paint((static_cast<float>(x) + 0.5f) / static_cast<float>(width_),
                                 (static_cast<float>(y) + 0.5f) / static_cast<float>(height_));
    }

    // Paints `colour` with `alpha` over the pixel; outside the canvas, nothing.
    void Blend(int x, int y, Rgb colour, float alpha);
    // Paints where `inside` holds, with coverage from 4 x 4 samples per pixel, inside the box.
    void FillShape(float x0, float y0, float x1, float y1, Rgb colour, float alpha,
                   const std::function<bool(float, float)>& inside);
    // The same with the colour taken at each pixel's centre.
    void FillShadedShape(float x0, float y0, float x1, float y1, const std::function<Rgb(float, float)>& shade,
                         float alpha, const std::function<bool(float, float)>& inside);
    void FillRect(float x0, float y0, float x1, float y1, Rgb colour, float alpha = 1);
    void FillEllipse(float cx, float cy, float rx, float ry, Rgb colour, float alpha = 1);
    // A line of `width` along the points, with round joins and ends.
    void Stroke(const std::vector<Point>& points, float width, Rgb colour, float alpha = 1);
    // Adds light: `colour` x `strength`, falling off as a Gaussian of `radius`.
    void Glow(float cx, float cy, float radius, Rgb colour, float strength);
    // Rows from `top` to `bottom` between two colours.
    void VerticalGradient(int x0, int x1, int top, int bottom, Rgb from, Rgb to, float alpha = 1);
    // Darkens towards the corners.
    void Vignette(float strength);
    // Adds a faint deterministic grain against banding.
    void Grain(float amount, uint32_t seed);

    gfx::ArgbImage ToImage() const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

    int width_, height_;
    Depth depth_;
    std::vector<Rgb> colours_;
    std::vector<float> alpha_;
};

}  // namespace paint
