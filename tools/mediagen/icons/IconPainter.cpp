#include "IconPainter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

struct Rgba {
    float r, g, b, a;  // premultiplied
};

struct Shade {
    float r, g, b;
};

// One shape of the picture: where it is and its colour there, in unit coordinates.
struct Layer {
    std::function<bool(float, float)> inside;
    std::function<Shade(float, float)> shade;
};

Shade Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f};
}

Shade Mix(Shade a, Shade b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::function<Shade(float, float)> Flat(uint32_t rgb) {
    const Shade shade = Hex(rgb);
    return [shade](float, float) { return shade; };
}

std::function<bool(float, float)> RoundedRect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        const float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
        const float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && dx * dx + dy * dy <= radius * radius;
    };
}

std::function<bool(float, float)> Disc(float cx, float cy, float radius) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

// A stroke of `width` from (ax, ay) to (bx, by) with round ends.
std::function<bool(float, float)> Segment(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        const float vx = bx - ax, vy = by - ay;
        const float t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
        const float dx = x - ax - vx * t, dy = y - ay - vy * t;
        return dx * dx + dy * dy <= width * width / 4;
    };
}

// A hand from the dial's centre, `turn` of a full circle clockwise from twelve.
std::function<bool(float, float)> Hand(float cx, float cy, float length, float turn, float width) {
    const float angle = turn * 2 * std::numbers::pi_v<float>;
    return Segment(cx, cy, cx + length * std::sin(angle), cy - length * std::cos(angle), width);
}

std::vector<Layer> ClockLayers(uint32_t size) {
    // Thin strokes stay at least a pixel wide at the small sizes.
    const float pixel = 1.0f / static_cast<float>(size);
    const float stroke = std::max(0.028f, 1.1f * pixel);
    const Shade woodLight = Hex(0x9A6438), woodDark = Hex(0x4A2A16);
    const auto wood = [=](float x, float y) { return Mix(woodLight, woodDark, (x - 0.28f) / 0.44f + (y - 0.5f) * 0.3f); };
    const float dialX = 0.5f, dialY = 0.31f, dialR = 0.165f;
    return {
        // Case and hood.
        {RoundedRect(0.29f, 0.10f, 0.71f, 0.97f, 0.04f), wood},
        {RoundedRect(0.25f, 0.03f, 0.75f, 0.14f, 0.05f), wood},
        // Brass ring, the face, its hands at ten past ten.
        {Disc(dialX, dialY, dialR), Flat(0xD9B45A)},
        {Disc(dialX, dialY, dialR - std::max(0.03f, 1.2f * pixel)),
         [=](float x, float y) { return Mix(Hex(0xFBF3DC), Hex(0xE3D2A8), (x - dialX + y - dialY) / dialR + 0.5f); }},
        {Hand(dialX, dialY, dialR * 0.55f, 10.17f / 12, stroke * 1.3f), Flat(0x2A1A0E)},
        {Hand(dialX, dialY, dialR * 0.8f, 2.0f / 12, stroke), Flat(0x2A1A0E)},
        // The pendulum's window, the rod and the bob.
        {RoundedRect(0.385f, 0.53f, 0.615f, 0.90f, 0.03f),
         [=](float, float y) { return Mix(Hex(0x3A2416), Hex(0x160C06), (y - 0.53f) / 0.37f); }},
        {Segment(0.5f, 0.55f, 0.5f, 0.77f, std::max(0.022f, pixel)), Flat(0xC89C48)},
        {Disc(0.5f, 0.78f, 0.06f), [=](float x, float y) {
             return Mix(Hex(0xF4D98A), Hex(0xA87A30), ((x - 0.47f) * (x - 0.47f) + (y - 0.75f) * (y - 0.75f)) / 0.01f);
         }},
    };
}

}  // namespace

gfx::ArgbImage PaintIcon(uint32_t size) {
    const std::vector<Layer> layers = ClockLayers(size);
    gfx::ArgbImage image(size, size);
    constexpr int kSamples = 4;  // per axis: coverage from 16 samples a pixel
    const float scale = 1.0f / static_cast<float>(size);
    for (uint32_t py = 0; py < size; ++py) {
        for (uint32_t px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (static_cast<float>(px) + (sx + 0.5f) / kSamples) * scale;
                    const float y = (static_cast<float>(py) + (sy + 0.5f) / kSamples) * scale;
                    Rgba sample{0, 0, 0, 0};
                    for (const Layer& layer : layers) {
                        if (!layer.inside(x, y)) continue;
                        const Shade shade = layer.shade(x, y);
                        sample = {shade.r, shade.g, shade.b, 1.0f};
                    }
                    r += sample.r, g += sample.g, b += sample.b, a += sample.a;
                }
            }
            constexpr float kPerSample = 1.0f / (kSamples * kSamples);
            a *= kPerSample;
            // Straight alpha, as PNG stores it.
            const auto channel = [&](float premultiplied) {
                return a > 0 ? static_cast<uint32_t>(std::lround(std::clamp(premultiplied * kPerSample / a, 0.0f, 1.0f) * 255)) : 0u;
            };
            const uint32_t alpha = static_cast<uint32_t>(std::lround(a * 255));
            image.Row(py)[px] = alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
        }
    }
    return image;
}
