// Pictures: the default painting in the frame and the rug.
#include <algorithm>
#include <cmath>

#include "Textures.h"
#include "paint/Patterns.h"

namespace room {

using namespace paint;

// A lake under a dusk sky with hills and a few trees, in soft brushwork on canvas.
Canvas PaintDefaultPicture(int size) {
    Canvas p(size, size);
    p.Fill([&](float u, float v) {
        const float brush = Fbm(u * 0.5f, v * 2, 4, 16, 64, 401);
        Rgb c = Mix(Hex(0xd8a860), Hex(0x3a4a6a), Smoothstep(0.45f, 0.05f, v));  // warm at the horizon
        c = Mix(c, Hex(0x8a6a58), Smoothstep(0.55f, 0.75f, Fbm(u, v, 4, 3, 6, 402)) * Smoothstep(0.45f, 0.1f, v) * 0.6f);
        const float hills = 0.47f - 0.1f * Fbm(u, 0.3f, 4, 3, 1, 403);
        if (v > hills) c = Mix(Hex(0x3a4430), Hex(0x2a3024), Smoothstep(hills, 0.55f, v));
        const float shore = 0.58f + 0.02f * std::sin(u * 9);
        if (v > shore) {  // the lake mirrors the sky, darker
            const float mirror = 2 * shore - v;
            c = Mix(Hex(0xb08850), Hex(0x2a3650), Smoothstep(0.45f, 0.05f, mirror)) * 0.7f;
            c = c * (0.9f + 0.1f * std::sin(v * 300 + brush * 6));
        }
        if (v > 0.86f) c = Mix(Hex(0x2e3420), Hex(0x1a1e14), Fbm(u, v, 4, 8, 8, 404));  // near bank
        // Two trees on the left bank: trunks and round crowns.
        for (int t = 0; t < 2; ++t) {
            const float tx = 0.16f + 0.1f * t, top = 0.3f + 0.06f * t;
            const float crown = std::sqrt((u - tx) * (u - tx) * 4 + (v - top) * (v - top) * 2.5f);
            if (crown < 0.12f + 0.03f * Fbm(u, v, 3, 16, 16, 405 + t)) c = Mix(Hex(0x1e2818), Hex(0x38442a), brush);
            if (std::fabs(u - tx) < 0.008f && v > top && v < 0.62f) c = Hex(0x1a1410);
        }
        const float weave = 0.93f + 0.07f * std::sin(u * 1400) * std::sin(v * 1400);
        return c * (0.85f + 0.25f * brush) * weave * 0.8f;
    });
    return p;
}

// A knotted rug: deep red field with a lozenge medallion, corner pieces and an indigo border.
Canvas PaintRug(int size) {
    Canvas p(size, size);
    const Rgb red = Hex(0x5a1418), indigo = Hex(0x1c2350), ivory = Hex(0xb8a888), rust = Hex(0x8a3a1c);
    p.Fill([&](float u, float v) {
        const float du = u - 0.5f, dv = v - 0.5f;
        const float edge = std::min(std::min(u, 1 - u) * 220, std::min(v, 1 - v) * 150);  // centimetres
        Rgb c = red * (0.85f + 0.15f * Fbm(u, v, 4, 32, 32, 501));
        // Small repeating flowers over the field.
        const float fu = u * 22 - std::floor(u * 22) - 0.5f, fv = v * 15 - std::floor(v * 15) - 0.5f;
        c = Mix(c, rust, Smoothstep(0.2f, 0.14f, std::fabs(fu) + std::fabs(fv)) * 0.6f);
        // Medallion and corner quarters.
        const float lozenge = std::fabs(du) / 0.28f + std::fabs(dv) / 0.36f;
        if (lozenge < 1) {
            c = Mix(indigo, rust, Smoothstep(0.55f, 0.5f, lozenge) * 0.8f);
            const float star = std::fabs(du) / 0.1f + std::fabs(dv) / 0.13f;
            c = Mix(c, ivory, Smoothstep(1.0f, 0.9f, star) * 0.8f);
            c = Mix(c, ivory, Smoothstep(0.02f, 0.0f, std::fabs(lozenge - 0.8f)) * 0.7f);
        }
        const float corner = (0.5f - std::fabs(du)) / 0.2f + (0.5f - std::fabs(dv)) / 0.26f;
        if (corner < 1 && edge > 20) c = Mix(c, indigo, 0.85f);
        // Border: indigo band with running diamonds between ivory guard lines.
        if (edge < 22) {
            c = indigo * (0.85f + 0.15f * Fbm(u, v, 4, 32, 32, 502));
            const float run = (u * 220 + v * 150) * 0.18f;
            const float diamond = std::fabs(run - std::round(run)) + std::fabs(edge - 12) / 8;
            c = Mix(c, rust, Smoothstep(0.45f, 0.35f, diamond));
            if (std::fabs(edge - 20) < 1 || std::fabs(edge - 4) < 1) c = ivory * 0.8f;
        }
        const float wear = Fbm(u, v, 5, 8, 8, 503);
        return c * (0.45f + 0.25f * wear);  // a worn, dusty pile: darker than its dyes
    });
    return p;
}

}  // namespace room
