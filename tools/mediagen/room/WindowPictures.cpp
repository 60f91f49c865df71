// Pictures of what the window shows (placed by WindowView.cpp): the storm's sky with the hills
// against it, the low clouds that drift past, and the rain on the panes. Edges are painted by
// coverage, so they stay smooth when a close view magnifies them; what slides tiles seamlessly.
#include <algorithm>
#include <cmath>
#include <vector>

#include "RoomLayout.h"
#include "Textures.h"
#include "paint/Patterns.h"

namespace room {

using namespace paint;

namespace {

constexpr float kTwoPi = 6.2831853f;

// b - a on a circle of circumference 1, between -0.5 and 0.5.
float WrappedOffset(float a, float b) {
    const float d = b - a;
    return d - std::floor(d + 0.5f);
}

float WrappedDistance(float a, float b) { return std::fabs(WrappedOffset(a, b)); }

// Ridge noise runs along world z, one unit of it every 840 cm.
float Along(float z) { return -z / 840; }

// The ridges' heights (y) at world z: the far hills and the wooded near ridge, its tree line
// ragged down to single crowns.
float FarRidge(float z) { return 108 + 48 * Fbm(Along(z), 0.5f, 5, 6, 1, 304); }
float NearRidge(float z) {
    const float u = Along(z);
    return 52 + 49 * Fbm(u, 0.5f, 5, 3, 1, 305) + 21 * Fbm(u, 0.5f, 4, 64, 1, 306) + 4 * Fbm(u, 0.5f, 2, 480, 1, 308);
}

// Night under a thunderstorm: heavy clouds with a paler rift, hazier toward the horizon, veils
// of rain.
Rgb Sky(float u, float v) {
    const float clouds = Fbm(u, v, 6, 4, 2, 301);
    const float rift = Smoothstep(0.55f, 0.75f, Fbm(u, v, 4, 2, 2, 302)) * Smoothstep(0.1f, 0.4f, v);
    Rgb c = Mix(Hex(0x232c40), Hex(0x5a6a8a), Smoothstep(0.35f, 0.8f, clouds));
    c = Mix(c, Hex(0x8a98b0), rift * 0.5f);
    c = Mix(c, Hex(0x6a7a96), Smoothstep(0.3f, 0.65f, v) * 0.7f);  // haze over the horizon
    return c * (0.94f + 0.06f * Noise(u * 3 + v * 0.6f, v, 256, 8, 303));  // rain veils
}

}  // namespace

// The hills over the landscape's picture: the far hills in the haze, the near wooded ridge with
// fields below it and one lit farmhouse window; clear above the ridges. A texel is covered by
// the share of its height below each ridge, averaged over four places across it, so the edge
// keeps its place within the texel and a magnified view blends along the true line instead of
// stepping along the texel grid.
Canvas PaintHills(int width, int height) {
    Canvas p(width, height, {}, 0);
    const math::Vec3 span = kLandscapeMax - kLandscapeMin;
    const auto zAt = [&](float x) { return kLandscapeMax.z - span.z * x / static_cast<float>(width); };
    const auto yAt = [&](float y) { return kLandscapeMax.y - span.y * y / static_cast<float>(height); };
    constexpr int kSamples = 4;
    std::vector<float> far(static_cast<size_t>(width) * kSamples), near(far.size());
    for (size_t i = 0; i < far.size(); ++i) {
        const float z = zAt((static_cast<float>(i) + 0.5f) / kSamples);
        far[i] = FarRidge(z);
        near[i] = NearRidge(z);
    }
    const auto cover = [&](const std::vector<float>& ridge, int x, int y) {
        const float top = yAt(static_cast<float>(y)), bottom = yAt(static_cast<float>(y + 1));
        float sum = 0;
        for (int s = 0; s < kSamples; ++s)
            sum += std::clamp((ridge[static_cast<size_t>(x * kSamples + s)] - bottom) / (top - bottom), 0.0f, 1.0f);
        return sum / kSamples;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
            const float wy = yAt(static_cast<float>(y) + 0.5f);
            const float farTop = FarRidge(zAt(static_cast<float>(x) + 0.5f));
            // Far hills lighter toward their tops; the woods darker, the fields below them lighter.
            const Rgb farColour = Mix(Hex(0x1c2434), Hex(0x263042), Smoothstep(farTop - 40, farTop, wy));
            Rgb nearColour = Mix(Hex(0x141c1c), Hex(0x1e2a22), Fbm(u, wy / span.y, 5, 64, 16, 307));
            nearColour = Mix(nearColour, Hex(0x2a3424), Smoothstep(30, -20, wy) * 0.5f);
            const float farCover = cover(far, x, y), nearCover = cover(near, x, y);
            const float covered = nearCover + farCover * (1 - nearCover);
            // Clear texels keep the colour of the hill below them, so filtering leaves no halo.
            p.At(x, y) = covered > 0 ? (nearColour * nearCover + farColour * (farCover * (1 - nearCover))) * (1 / covered)
                                     : farColour;
            p.AlphaAt(x, y) = covered;
        }
    }
    const float pxPerCm = static_cast<float>(width) / span.z;
    const float houseZ = -200, houseY = NearRidge(houseZ) - 6;
    const float hx = (kLandscapeMax.z - houseZ) * pxPerCm, hy = (kLandscapeMax.y - houseY) / span.y * static_cast<float>(height);
    p.FillRect(hx - 0.9f * pxPerCm, hy - 0.7f * pxPerCm, hx + 0.9f * pxPerCm, hy + 0.7f * pxPerCm, Hex(0xd8a050));
    return p;
}

// The country outside: the storm's sky with the hills in front of it.
Canvas PaintLandscape(int width, int height) {
    Canvas p(width, height);
    p.Fill(Sky);
    Canvas hills = PaintHills(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.Blend(x, y, hills.At(x, y), hills.AlphaAt(x, y));
    return p;
}

// Ragged low clouds, darker than the storm's ceiling behind them, in a band that thins out to
// nothing at the top and the bottom of the picture; u tiles, so the layer can slide.
Canvas PaintClouds(int width, int height) {
    Canvas p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
            const float density = Fbm(u, v, 6, 4, 2, 311);
            const float band = Smoothstep(0.02f, 0.3f, v) * Smoothstep(0.99f, 0.8f, v);
            const float shape = Smoothstep(0.45f, 0.62f, density * (0.75f + 0.35f * band));
            p.At(x, y) = Mix(Hex(0x1a2030), Hex(0x080a0f), Smoothstep(0.5f, 0.7f, density));
            p.AlphaAt(x, y) = shape * band;
        }
    }
    return p;
}

// Drops standing on the glass over a faint film of water: round beads with a bright rim and a
// glint. Tiles both ways.
Canvas PaintRainDrops(int size) {
    Canvas p(size, size);
    constexpr int kCells = 9;
    const Rgb water = Hex(0x8a9ab0), glint = Hex(0xd8e2ee);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(size);
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(size);
            float cover = 0.05f + 0.04f * Fbm(u, v, 4, 8, 8, 101);
            float shine = 0;
            const int cx = static_cast<int>(u * kCells), cy = static_cast<int>(v * kCells);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int i = (cx + dx + kCells) % kCells, j = (cy + dy + kCells) % kCells;
                    const float h = Hash(i, j, 103);
                    if (h > 0.45f) continue;
                    const float bu = (static_cast<float>(i) + 0.2f + 0.6f * Hash(i, j, 104)) / kCells;
                    const float bv = (static_cast<float>(j) + 0.2f + 0.6f * Hash(i, j, 105)) / kCells;
                    const float du = WrappedOffset(bu, u) * kCells, dv = WrappedOffset(bv, v) * kCells;
                    const float radius = 0.08f + 0.4f * h;
                    const float r = std::sqrt(du * du + dv * dv * 1.15f);
                    const float edge = 0.6f / static_cast<float>(size) * kCells;  // about a pixel and a half
                    const float inside = Smoothstep(radius, radius - edge, r);
                    const float rim = Smoothstep(radius - 3 * edge, radius - edge, r) * inside;
                    cover = std::max(cover, inside * (0.22f + 0.4f * rim));
                    const float gu = du + 0.35f * radius, gv = dv + 0.35f * radius;
                    shine = std::max(shine, Smoothstep(0.3f * radius + edge, 0.3f * radius - edge, std::sqrt(gu * gu + gv * gv)));
                }
            }
            p.At(x, y) = Mix(water, glint, shine);
            p.AlphaAt(x, y) = std::max(cover, 0.75f * shine);
        }
    }
    return p;
}

// Trickles running down the glass: a drop at the head with a glint, a wet trail thinning above
// it. Tiles both ways, so the layer can slide down by a tile.
Canvas PaintRainTrickles(int size) {
    Canvas p(size, size);
    constexpr int kTrickles = 12;
    const Rgb water = Hex(0x9aaac0), glint = Hex(0xdce6f2);
    const float pixel = 1.0f / static_cast<float>(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) * pixel, v = (static_cast<float>(y) + 0.5f) * pixel;
            float cover = 0, shine = 0;
            for (int t = 0; t < kTrickles; ++t) {
                const float head = Hash(t, 1, 102), length = 0.2f + 0.7f * Hash(t, 2, 102);
                const float wiggle = (2 + 4 * Hash(t, 3, 102)) * pixel;
                const float turns = 1 + std::floor(2 * Hash(t, 4, 102));  // whole turns per tile, so it tiles
                const auto centre = [&](float at) {
                    return Hash(t, 0, 102) + wiggle * std::sin(kTwoPi * turns * at + 6 * Hash(t, 5, 102));
                };
                const float above = WrappedOffset(v, head);  // > 0 above the head
                const float dx = WrappedDistance(u, centre(v)) / pixel;
                if (above >= 0 && above < length) {
                    const float width = 1.1f - 0.5f * above / length;
                    cover = std::max(cover, Smoothstep(width + 0.7f, width - 0.3f, dx) * 0.3f * (1 - above / length));
                }
                // The drop at the head: a little wider than long, hanging below the trail.
                const float radius = 2.2f + 1.4f * Hash(t, 6, 102);
                const float hx = WrappedOffset(centre(head), u) / pixel, hy = -above / pixel - 0.4f * radius;
                const float r = std::sqrt(hx * hx * 0.8f + hy * hy);
                cover = std::max(cover, Smoothstep(radius + 0.7f, radius - 0.7f, r) * 0.6f);
                const float gx = hx + 0.3f * radius, gy = hy + 0.3f * radius;
                shine = std::max(shine, Smoothstep(0.45f * radius + 0.6f, 0.45f * radius - 0.6f, std::sqrt(gx * gx + gy * gy)));
            }
            p.At(x, y) = Mix(water, glint, shine);
            p.AlphaAt(x, y) = std::max(cover, 0.8f * shine);
        }
    }
    return p;
}

}  // namespace room
