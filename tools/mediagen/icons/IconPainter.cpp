#include "IconPainter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "paint/Canvas.h"

namespace {

using paint::Hex;
using paint::Mix;
using paint::Rgb;

// Shapes and shades in unit coordinates: the icon is drawn the same at every size.
using Inside = std::function<bool(float, float)>;
using Shade = std::function<Rgb(float, float)>;

struct Layer {
    Inside inside;
    Shade shade;
};

Shade Flat(uint32_t rgb) {
    const Rgb colour = Hex(rgb);
    return [colour](float, float) { return colour; };
}

Inside RoundedRect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        const float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
        const float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && dx * dx + dy * dy <= radius * radius;
    };
}

Inside Disc(float cx, float cy, float radius) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

// A stroke of `width` from (ax, ay) to (bx, by) with round ends.
Inside Segment(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        const float vx = bx - ax, vy = by - ay;
        const float t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
        const float dx = x - ax - vx * t, dy = y - ay - vy * t;
        return dx * dx + dy * dy <= width * width / 4;
    };
}

// A hand from the dial's centre, `turn` of a full circle clockwise from twelve.
Inside Hand(float cx, float cy, float length, float turn, float width) {
    const float angle = turn * 2 * std::numbers::pi_v<float>;
    return Segment(cx, cy, cx + length * std::sin(angle), cy - length * std::cos(angle), width);
}

std::vector<Layer> ClockLayers(uint32_t size) {
    // Thin strokes stay at least a pixel wide at the small sizes.
    const float pixel = 1.0f / static_cast<float>(size);
    const float stroke = std::max(0.028f, 1.1f * pixel);
    const Rgb woodLight = Hex(0x9A6438), woodDark = Hex(0x4A2A16);
    const auto wood = [=](float x, float y) { return Mix(woodLight, woodDark, std::clamp((x - 0.28f) / 0.44f + (y - 0.5f) * 0.3f, 0.0f, 1.0f)); };
    const float dialX = 0.5f, dialY = 0.31f, dialR = 0.165f;
    const auto ramp = [](Rgb a, Rgb b, float t) { return Mix(a, b, std::clamp(t, 0.0f, 1.0f)); };
    return {
        // Case and hood.
        {RoundedRect(0.29f, 0.10f, 0.71f, 0.97f, 0.04f), wood},
        {RoundedRect(0.25f, 0.03f, 0.75f, 0.14f, 0.05f), wood},
        // Brass ring, the face, its hands at ten past ten.
        {Disc(dialX, dialY, dialR), Flat(0xD9B45A)},
        {Disc(dialX, dialY, dialR - std::max(0.03f, 1.2f * pixel)),
         [=](float x, float y) { return ramp(Hex(0xFBF3DC), Hex(0xE3D2A8), (x - dialX + y - dialY) / dialR + 0.5f); }},
        {Hand(dialX, dialY, dialR * 0.55f, 10.17f / 12, stroke * 1.3f), Flat(0x2A1A0E)},
        {Hand(dialX, dialY, dialR * 0.8f, 2.0f / 12, stroke), Flat(0x2A1A0E)},
        // The pendulum's window, the rod and the bob.
        {RoundedRect(0.385f, 0.53f, 0.615f, 0.90f, 0.03f),
         [=](float, float y) { return ramp(Hex(0x3A2416), Hex(0x160C06), (y - 0.53f) / 0.37f); }},
        {Segment(0.5f, 0.55f, 0.5f, 0.77f, std::max(0.022f, pixel)), Flat(0xC89C48)},
        {Disc(0.5f, 0.78f, 0.06f), [=](float x, float y) {
             return ramp(Hex(0xF4D98A), Hex(0xA87A30), ((x - 0.47f) * (x - 0.47f) + (y - 0.75f) * (y - 0.75f)) / 0.01f);
         }},
    };
}

}  // namespace

gfx::ArgbImage PaintIcon(uint32_t size) {
    const int pixels = static_cast<int>(size);
    const float scale = 1.0f / static_cast<float>(size);
    paint::Canvas canvas(pixels, pixels, {}, 0);
    for (const Layer& layer : ClockLayers(size)) {
        canvas.FillShadedShape(
            0, 0, static_cast<float>(size), static_cast<float>(size),
            [&](float x, float y) { return layer.shade(x * scale, y * scale); }, 1,
            [&](float x, float y) { return layer.inside(x * scale, y * scale); });
    }
    return canvas.ToImage();
}
