#include "Canvas.h"

#include <algorithm>
#include <cmath>

Color Mix(Color a, Color b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Color Scale(Color c, float s) { return {c.r * s, c.g * s, c.b * s}; }

float Random::Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / 16777216.0f;
}

Canvas::Canvas(int width, int height, Color fill, float alpha)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, Pixel{fill.r, fill.g, fill.b, alpha}) {}

void Canvas::Blend(int x, int y, Color color, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    Pixel& p = pixels_[static_cast<size_t>(y) * width_ + x];
    const float out = alpha + p.a * (1 - alpha);
    if (out <= 0) return;
    const float keep = p.a * (1 - alpha);
    p.r = (color.r * alpha + p.r * keep) / out;
    p.g = (color.g * alpha + p.g * keep) / out;
    p.b = (color.b * alpha + p.b * keep) / out;
    p.a = out;
}

void Canvas::Fill(float x0, float y0, float x1, float y1, Color color, float alpha,
                  const std::function<bool(float, float)>& inside) {
    const int left = std::max(0, static_cast<int>(std::floor(x0))), right = std::min(width_, static_cast<int>(std::ceil(x1)));
    const int top = std::max(0, static_cast<int>(std::floor(y0))), bottom = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4) ? 1 : 0;
            if (hits) Blend(x, y, color, alpha * static_cast<float>(hits) / 16.0f);
        }
    }
}

void Canvas::FillRect(float x0, float y0, float x1, float y1, Color color, float alpha) {
    Fill(x0, y0, x1, y1, color, alpha, [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, Color color, float alpha) {
    Fill(cx - rx, cy - ry, cx + rx, cy + ry, color, alpha, [&](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1;
    });
}

namespace {

float SegmentDistance(Point p, Point a, Point b) {
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float length = vx * vx + vy * vy;
    const float t = length > 0 ? std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(p.x - (a.x + vx * t), p.y - (a.y + vy * t));
}

}  // namespace

void Canvas::Stroke(const std::vector<Point>& points, float width, Color color, float alpha) {
    if (points.empty()) return;
    float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const float half = width / 2;
    Fill(x0 - half - 1, y0 - half - 1, x1 + half + 1, y1 + half + 1, color, alpha, [&](float x, float y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            if (SegmentDistance({x, y}, points[i], points[i + 1]) <= half) return true;
        return points.size() == 1 && std::hypot(x - points[0].x, y - points[0].y) <= half;
    });
}

void Canvas::Glow(float cx, float cy, float radius, Color color, float strength) {
    const int reach = static_cast<int>(radius * 3);
    for (int y = std::max(0, static_cast<int>(cy) - reach); y < std::min(height_, static_cast<int>(cy) + reach); ++y) {
        for (int x = std::max(0, static_cast<int>(cx) - reach); x < std::min(width_, static_cast<int>(cx) + reach); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            const float light = strength * std::exp(-d * d);
            Pixel& p = pixels_[static_cast<size_t>(y) * width_ + x];
            p.r += color.r * light;
            p.g += color.g * light;
            p.b += color.b * light;
        }
    }
}

void Canvas::VerticalGradient(int x0, int x1, int top, int bottom, Color from, Color to, float alpha) {
    for (int y = top; y < bottom; ++y) {
        const Color c = Mix(from, to, static_cast<float>(y - top) / static_cast<float>(std::max(bottom - top - 1, 1)));
        for (int x = x0; x < x1; ++x) Blend(x, y, c, alpha);
    }
}

void Canvas::Vignette(float strength) {
    const float cx = width_ / 2.0f, cy = height_ / 2.0f;
    const float reach = std::hypot(cx, cy);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / reach;
            const float keep = 1 - strength * d * d;
            Pixel& p = pixels_[static_cast<size_t>(y) * width_ + x];
            p.r *= keep, p.g *= keep, p.b *= keep;
        }
    }
}

void Canvas::Grain(float amount, uint32_t seed) {
    Random random(seed);
    for (Pixel& p : pixels_) {
        const float n = (random.Next() - 0.5f) * amount;
        p.r += n, p.g += n, p.b += n;
    }
}

gfx::ArgbImage Canvas::ToImage() const {
    gfx::ArgbImage image(static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    const auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    for (size_t i = 0; i < pixels_.size(); ++i) {
        const Pixel& p = pixels_[i];
        image.pixels[i] = byte(p.a) << 24 | byte(p.r) << 16 | byte(p.g) << 8 | byte(p.b);
    }
    return image;
}
