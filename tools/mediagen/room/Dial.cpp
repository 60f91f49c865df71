// The break-arch dial: a gilt plate with engraved corners, an ivory chapter ring with Roman
// numerals and a minute track, and a painted night sky with the moon in the arch. The texture
// spans the plate (36 cm across, 54 cm high including the arch) as the dial mesh maps it.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Textures.h"
#include "paint/Patterns.h"

namespace room {

using namespace paint;

namespace {

constexpr float kPi = 3.14159265f;

struct Stroke {
    float ax, ay, bx, by, width;
};

// Glyphs on a unit-high box from x = 0, with their advance.
float Glyph(char c, std::vector<Stroke>& out, float x) {
    switch (c) {
        case 'I':
            out.push_back({x + 0.15f, 0.08f, x + 0.15f, 0.92f, 0.17f});
            out.push_back({x + 0.0f, 0.06f, x + 0.3f, 0.06f, 0.05f});
            out.push_back({x + 0.0f, 0.94f, x + 0.3f, 0.94f, 0.05f});
            return 0.38f;
        case 'V':
            out.push_back({x + 0.02f, 0.94f, x + 0.33f, 0.06f, 0.17f});
            out.push_back({x + 0.33f, 0.06f, x + 0.64f, 0.94f, 0.06f});
            out.push_back({x - 0.06f, 0.94f, x + 0.16f, 0.94f, 0.05f});
            out.push_back({x + 0.52f, 0.94f, x + 0.74f, 0.94f, 0.05f});
            return 0.74f;
        default:  // 'X'
            out.push_back({x + 0.02f, 0.94f, x + 0.64f, 0.06f, 0.17f});
            out.push_back({x + 0.64f, 0.94f, x + 0.02f, 0.06f, 0.06f});
            out.push_back({x - 0.06f, 0.94f, x + 0.2f, 0.94f, 0.05f});
            out.push_back({x + 0.46f, 0.94f, x + 0.72f, 0.94f, 0.05f});
            out.push_back({x - 0.06f, 0.06f, x + 0.2f, 0.06f, 0.05f});
            out.push_back({x + 0.46f, 0.06f, x + 0.72f, 0.06f, 0.05f});
            return 0.74f;
    }
}

// Each hour's numeral as strokes centred on x = 0.
std::vector<std::vector<Stroke>> Numerals() {
    const char* names[12] = {"XII", "I", "II", "III", "IIII", "V", "VI", "VII", "VIII", "IX", "X", "XI"};
    std::vector<std::vector<Stroke>> all;
    for (const char* name : names) {
        std::vector<Stroke> strokes;
        float x = 0;
        for (const char* c = name; *c; ++c) x += Glyph(*c, strokes, x);
        const float shift = (x - 0.08f) / 2;
        for (Stroke& s : strokes) {
            s.ax -= shift;
            s.bx -= shift;
        }
        all.push_back(std::move(strokes));
    }
    return all;
}

float Ink(float distance, float halfWidth, float pixel) { return Smoothstep(halfWidth + pixel, halfWidth - pixel, distance); }

}  // namespace

Canvas PaintDial(int size) {
    Canvas p(size, size);
    const std::vector<std::vector<Stroke>> numerals = Numerals();
    const Rgb brass = Hex(0xb08d57), engraved = Hex(0x4a3418), ivory = Hex(0xe8dcc0), ink = Hex(0x141010);
    const float pixel = 54.0f / static_cast<float>(size);  // centimetres per pixel, vertically
    const float ringOuter = 14.8f, trackIn = 13.1f, trackOut = 14.3f, numIn = 9.9f, numHeight = 2.9f;
    p.Fill([&](float u, float v) {
        const float a = u * 36 - 18, b = 201 - v * 54;  // plate centimetres: right, up
        const float dx = a, dy = b - 165;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float theta = std::atan2(dx, dy);  // clockwise from 12
        // Gilt plate, finely brushed across, with a soft sheen from the upper left baked in (the
        // fixed-function pass gives it no highlight of its own) and fine scrolls in the spandrels.
        const float brushed = 0.94f + 0.06f * Fbm(u * 0.05f, v, 3, 2, 256, 201);
        const float sheen = Smoothstep(40, 0, std::fabs(a + (b - 190) * 0.8f));
        Rgb c = Mix(brass * brushed, Hex(0xf0dca0), 0.45f * sheen);
        const float scroll = 0.5f + 0.5f * std::sin(r * 9 + 4 * std::sin(theta * 6));
        if (r > 16.2f && b < 183) c = Mix(c, engraved, Smoothstep(0.9f, 0.97f, scroll) * 0.55f);
        // The moon aperture in the arch: a night sky, stars, the moon and dark hills.
        const float mx = a, my = b - 184, mr = std::sqrt(mx * mx + my * my);
        if (my > 0 && mr < 12.5f) {
            Rgb sky = Mix(Hex(0x0a1028), Hex(0x22346a), Smoothstep(12, 2, my));
            const int sx = static_cast<int>(u * 160), sy = static_cast<int>(v * 160);
            if (Hash(sx, sy, 211) > 0.985f) sky = Mix(sky, Hex(0xe8e0c0), 0.8f);
            const float moon = std::sqrt((mx + 4) * (mx + 4) + (my - 7) * (my - 7));
            sky = Mix(sky, Hex(0xe0d8b8) * (0.8f + 0.25f * Fbm(u, v, 3, 64, 64, 212)), Smoothstep(3.7f, 3.5f, moon));
            const float hills = 2.2f + 1.2f * std::sin(mx * 0.5f) + 0.8f * std::sin(mx * 1.3f + 1);
            sky = Mix(sky, Hex(0x1a2a18), Smoothstep(hills + 0.1f, hills - 0.1f, my));
            c = Mix(sky, brass * 0.6f, Smoothstep(12.2f, 12.5f, mr));
        } else if (std::fabs(mr - 12.8f) < 0.3f && my > 0) {
            c = engraved;
        }
        // The ivory chapter ring.
        if (r < ringOuter + pixel) {
            Rgb dial = ivory * (0.92f + 0.1f * Fbm(u, v, 4, 16, 16, 221));
            float k = 0;  // ink cover
            k = std::max(k, Ink(std::fabs(r - trackIn), 0.05f, pixel));
            k = std::max(k, Ink(std::fabs(r - trackOut), 0.05f, pixel));
            k = std::max(k, Ink(std::fabs(r - 6.2f), 0.03f, pixel));
            const float minute = theta / (2 * kPi) * 60;
            const float nearest = std::round(minute);
            const float along = std::fabs(minute - nearest) * 2 * kPi * r / 60;  // cm from the tick
            if (r > trackIn && r < trackOut) {
                const bool five = static_cast<int>(nearest) % 5 == 0;
                k = std::max(k, Ink(along, five ? 0.1f : 0.045f, pixel));
            }
            // The numerals stand on the inner circle, feet toward the centre.
            const int hour = (static_cast<int>(std::round(theta / (2 * kPi) * 12)) + 12) % 12;
            const float h = static_cast<float>(hour) * 2 * kPi / 12;
            const float upX = std::sin(h), upY = std::cos(h), rightX = std::cos(h), rightY = -std::sin(h);
            const float gx = (dx * rightX + dy * rightY) / numHeight;
            const float gy = ((dx * upX + dy * upY) - numIn) / numHeight;
            if (gy > -0.2f && gy < 1.2f)
                for (const Stroke& s : numerals[static_cast<size_t>(hour)])
                    k = std::max(k, Ink(SegmentDistance(gx, gy, s.ax, s.ay, s.bx, s.by), s.width / 2,
                                        pixel / numHeight));
            dial = Mix(dial, ink, k);
            c = Mix(dial, c, Smoothstep(ringOuter - pixel, ringOuter + pixel, r));
        }
        return c;
    });
    return p;
}

}  // namespace room
