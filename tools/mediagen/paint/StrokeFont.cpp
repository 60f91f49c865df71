#include "paint/StrokeFont.h"

#include <cmath>
#include <numbers>

namespace paint {

namespace {

constexpr float kLetterWidth = 0.72f;  // of the height

using Strokes = std::vector<std::vector<Point>>;

// Points of an elliptic arc in the letter's unit box, angles in degrees (0 is right, 90 down).
std::vector<Point> Arc(float cx, float cy, float rx, float ry, float from, float to) {
    std::vector<Point> points;
    const int steps = 32;
    for (int i = 0; i <= steps; ++i) {
        const float a = (from + (to - from) * static_cast<float>(i) / steps) * std::numbers::pi_v<float> / 180;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

Strokes Letter(char c) {
    switch (c) {
        case 'Q': return {Arc(0.5f, 0.5f, 0.44f, 0.5f, 0, 360), {{0.6f, 0.72f}, {0.98f, 1.08f}}};
        case 'O': return {Arc(0.5f, 0.5f, 0.44f, 0.5f, 0, 360)};
        case 'U': {
            std::vector<Point> u{{0.08f, 0}};
            for (const Point& p : Arc(0.5f, 0.58f, 0.42f, 0.42f, 180, 0)) u.push_back(p);
            u.push_back({0.92f, 0});
            return {u};
        }
        case 'E': return {{{0.88f, 0}, {0.1f, 0}, {0.1f, 1}, {0.88f, 1}}, {{0.1f, 0.5f}, {0.72f, 0.5f}}};
        case 'L': return {{{0.1f, 0}, {0.1f, 1}, {0.86f, 1}}};
        case 'M': return {{{0.06f, 1}, {0.06f, 0}, {0.5f, 0.7f}, {0.94f, 0}, {0.94f, 1}}};
        case 'N': return {{{0.1f, 1}, {0.1f, 0}, {0.9f, 1}, {0.9f, 0}}};
        case 'T': return {{{0.04f, 0}, {0.96f, 0}}, {{0.5f, 0}, {0.5f, 1}}};
        default: return {};
    }
}

}  // namespace

float TitleWidth(std::string_view text, float height, float tracking) {
    if (text.empty()) return 0;
    return static_cast<float>(text.size()) * height * kLetterWidth + static_cast<float>(text.size() - 1) * height * tracking;
}

void DrawTitle(Canvas& canvas, std::string_view text, float x, float y, float height, float tracking,
               float strokeWidth, Rgb colour, float alpha) {
    const float width = height * kLetterWidth;
    for (const char c : text) {
        for (const std::vector<Point>& stroke : Letter(c)) {
            std::vector<Point> placed;
            for (const Point& p : stroke) placed.push_back({x + p.x * width, y + p.y * height});
            canvas.Stroke(placed, strokeWidth, colour, alpha);
        }
        x += width + height * tracking;
    }
}

}  // namespace paint
