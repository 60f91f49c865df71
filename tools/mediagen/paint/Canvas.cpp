#include "paint/Canvas.h"

#include <algorithm>
#include <cmath>

#include "paint/Patterns.h"

namespace paint {

namespace {

float Level(float channel) { return static_cast<float>(std::lround(channel * 255)); }

// Mixes at whole 8-bit levels and rounds the result to a level.
float MixLevels(float from, float to, float alpha) {
    const float a = Level(from), b = Level(to);
    return static_cast<float>(std::lround(a + (b - a) * alpha)) / 255;
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb fill, float alpha, Depth depth)
    : width_(width),
      height_(height),
      depth_(depth),
      colours_(static_cast<size_t>(width) * static_cast<size_t>(height), fill),
      alpha_(colours_.size(), alpha) {}

void Canvas::Blend(int x, int y, Rgb colour, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    alpha = std::min(alpha, 1.0f);
    Rgb& p = At(x, y);
    float& a = AlphaAt(x, y);
    if (depth_ == Depth::kEightBit) {
        p = {MixLevels(p.r, colour.r, alpha), MixLevels(p.g, colour.g, alpha), MixLevels(p.b, colour.b, alpha)};
        return;
    }
    const float out = alpha + a * (1 - alpha);
    if (out <= 0) return;
    const float keep = a * (1 - alpha);
    p.r = (colour.r * alpha + p.r * keep) / out;
    p.g = (colour.g * alpha + p.g * keep) / out;
    p.b = (colour.b * alpha + p.b * keep) / out;
    a = out;
}

void Canvas::FillShape(float x0, float y0, float x1, float y1, Rgb colour, float alpha,
                       const std::function<bool(float, float)>& inside) {
    FillShadedShape(x0, y0, x1, y1, [colour](float, float) { return colour; }, alpha, inside);
}

void Canvas::FillShadedShape(float x0, float y0, float x1, float y1, const std::function<Rgb(float, float)>& shade,
                             float alpha, const std::function<bool(float, float)>& inside) {
    const int left = std::max(0, static_cast<int>(std::floor(x0))), right = std::min(width_, static_cast<int>(std::ceil(x1)));
    const int top = std::max(0, static_cast<int>(std::floor(y0))), bottom = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 4,
                                   static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 4)
                                ? 1
                                : 0;
            if (hits)
                Blend(x, y, shade(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f),
                      alpha * static_cast<float>(hits) / 16.0f);
        }
    }
}

void Canvas::FillRect(float x0, float y0, float x1, float y1, Rgb colour, float alpha) {
    FillShape(x0, y0, x1, y1, colour, alpha, [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, Rgb colour, float alpha) {
    FillShape(cx - rx, cy - ry, cx + rx, cy + ry, colour, alpha, [&](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1;
    });
}

void Canvas::Stroke(const std::vector<Point>& points, float width, Rgb colour, float alpha) {
    if (points.empty()) return;
    float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const float half = width / 2;
    FillShape(x0 - half - 1, y0 - half - 1, x1 + half + 1, y1 + half + 1, colour, alpha, [&](float x, float y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            if (SegmentDistance(x, y, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y) <= half) return true;
        return points.size() == 1 && std::hypot(x - points[0].x, y - points[0].y) <= half;
    });
}

void Canvas::Glow(float cx, float cy, float radius, Rgb colour, float strength) {
    const int reach = static_cast<int>(radius * 3);
    for (int y = std::max(0, static_cast<int>(cy) - reach); y < std::min(height_, static_cast<int>(cy) + reach); ++y) {
        for (int x = std::max(0, static_cast<int>(cx) - reach); x < std::min(width_, static_cast<int>(cx) + reach); ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) / radius;
            At(x, y) = At(x, y) + colour * (strength * std::exp(-d * d));
        }
    }
}

void Canvas::VerticalGradient(int x0, int x1, int top, int bottom, Rgb from, Rgb to, float alpha) {
    for (int y = top; y < bottom; ++y) {
        const Rgb c = Mix(from, to, static_cast<float>(y - top) / static_cast<float>(std::max(bottom - top - 1, 1)));
        for (int x = x0; x < x1; ++x) Blend(x, y, c, alpha);
    }
}

void Canvas::Vignette(float strength) {
    const float cx = static_cast<float>(width_) / 2, cy = static_cast<float>(height_) / 2;
    const float reach = std::hypot(cx, cy);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) / reach;
            At(x, y) = At(x, y) * (1 - strength * d * d);
        }
    }
}

void Canvas::Grain(float amount, uint32_t seed) {
    Random random(seed);
    for (Rgb& p : colours_) {
        const float n = (random.Next() - 0.5f) * amount;
        p.r += n, p.g += n, p.b += n;
    }
}

gfx::ArgbImage Canvas::ToImage() const {
    gfx::ArgbImage image(static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    const auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    for (size_t i = 0; i < colours_.size(); ++i) {
        const Rgb& p = colours_[i];
        image.pixels[i] = byte(alpha_[i]) << 24 | byte(p.r) << 16 | byte(p.g) << 8 | byte(p.b);
    }
    return image;
}

}  // namespace paint
