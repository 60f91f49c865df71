#include "Textures.h"

#include <algorithm>
#include <cmath>

#include "paint/Patterns.h"

namespace room {

using namespace paint;

namespace {

constexpr float kTwoPi = 6.2831853f;

// Oak boards: twelve across a repeat, each with its own shade, staggered end joints and dark seams.
Canvas Floor(int size) {
    Canvas p(size, size);
    const Rgb oak = Hex(0x5a3d26), dark = Hex(0x2e1e12);
    const int boards = 12;
    p.Fill([&](float u, float v) {
        const float across = u * boards;
        const int board = static_cast<int>(across);
        const float inBoard = across - static_cast<float>(board);
        const float offset = Hash(board, 3, 11);
        const float along = v * 3 + offset;  // three board lengths per repeat
        const int piece = static_cast<int>(std::floor(along));
        const float inPiece = along - std::floor(along);
        const float shade = 0.82f + 0.3f * Hash(board, piece, 12);
        const float grain = WoodGrain(v, u, 13 + static_cast<uint32_t>(board));
        const float seam = std::min(Smoothstep(0.0f, 0.035f, inBoard), Smoothstep(0.0f, 0.035f, 1 - inBoard));
        const float joint = std::min(Smoothstep(0.0f, 0.006f, inPiece), Smoothstep(0.0f, 0.006f, 1 - inPiece));
        const Rgb wood = Mix(dark, oak, 0.55f + 0.45f * grain) * shade;
        return Mix(dark * 0.45f, wood, std::min(seam, joint));
    });
    return p;
}

// Dark walnut with a soft polish: grain along u.
Canvas Walnut(int size, uint32_t seed) {
    Canvas p(size, size);
    const Rgb walnut = Hex(0x3b2416), deep = Hex(0x1e110a), light = Hex(0x5a3a22);
    p.Fill([&](float u, float v) {
        const float g = WoodGrain(u, v, seed);
        return Mix(Mix(deep, walnut, 0.5f), Mix(walnut, light, Smoothstep(0.65f, 1.0f, g) * 0.6f), Smoothstep(0.15f, 0.75f, g));
    });
    return p;
}

// Deep green paper with a faint damask: a lobed medallion on a diamond lattice.
Canvas Wallpaper(int size) {
    Canvas p(size, size);
    const Rgb paper = Hex(0x2a3a2e), motif = Hex(0x3a4c3c);
    p.Fill([&](float u, float v) {
        const float ground = 0.9f + 0.2f * Fbm(u, v, 4, 8, 8, 21);
        float best = 0;
        // Two interleaved lattices make the diamond repeat.
        for (int k = 0; k < 2; ++k) {
            float cu = u * 3 + 0.5f * k, cv = v * 3 + 0.5f * k;
            cu = (cu - std::floor(cu)) * 2 - 1;
            cv = (cv - std::floor(cv)) * 2 - 1;
            const float x = std::fabs(cu), y = cv;  // mirrored left and right
            const float r = std::sqrt(x * x * 1.6f + y * y), a = std::atan2(y, x);
            const float petals = 0.5f + 0.5f * std::cos(5 * a);
            const float medallion = Smoothstep(0.42f + 0.12f * petals, 0.38f + 0.12f * petals, r) *
                                    (0.6f + 0.4f * Smoothstep(0.1f, 0.2f, std::fabs(r - 0.22f)));
            const float stem = Smoothstep(0.05f, 0.02f, std::fabs(x - 0.08f * std::sin(y * 5))) *
                               Smoothstep(0.95f, 0.6f, std::fabs(y)) * Smoothstep(0.4f, 0.5f, r);
            best = std::max(best, std::max(medallion, stem * 0.7f));
        }
        return Mix(paper * ground, motif, best * 0.5f);
    });
    return p;
}

// Wainscot: two raised walnut panels per repeat between stiles and rails, bevels catching the light
// from above.
Canvas Panelling(int size) {
    Canvas p = Walnut(size, 31);
    const Canvas inner = Walnut(size, 37);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size * 2, v = (y + 0.5f) / size;  // two panels across
            const float pu = u - std::floor(u);
            // Panel field inside the frame (v: 0 = top at the dado rail, 1 = floor).
            const float left = 0.09f, right = 0.91f, top = 0.12f, bottom = 0.78f;
            const float dx = std::min(pu - left, right - pu), dy = std::min(v - top, bottom - v);
            const float d = std::min(dx * 0.5f, dy);  // distance inside the panel (v units)
            if (d <= 0) continue;
            Rgb c = inner.At(x, y) * 1.05f;
            if (d < 0.03f) {  // the bevel: lit along its top and left, shaded below and right
                const bool litSide = (dy < dx * 0.5f) ? (v - top < bottom - v) : (pu - left < right - pu);
                c = c * (litSide ? 1.35f : 0.6f);
            } else if (d < 0.036f) {
                c = c * 0.55f;
            }
            p.At(x, y) = c;
        }
    return p;
}

Canvas Plain(int size, uint32_t colour, float variation, int cells, uint32_t seed) {
    Canvas p(size, size);
    const Rgb base = Hex(colour);
    p.Fill([&](float u, float v) { return base * (1 - variation + 2 * variation * Fbm(u, v, 5, cells, cells, seed)); });
    return p;
}

// Polished brass with a little tarnish in patches: bright enough to read as metal beside walnut
// under the same light.
Canvas Brass(int size) {
    Canvas p(size, size);
    const Rgb brass = Hex(0xb08d57), tarnish = Hex(0x6e5632), shine = Hex(0xe0c488);
    p.Fill([&](float u, float v) {
        const float brushed = Fbm(u, v, 4, 2, 64, 41);
        const float patches = Fbm(u, v, 3, 4, 4, 42);
        const Rgb metal = Mix(tarnish, brass, 0.7f + 0.3f * patches);
        return Mix(metal, shine, 0.35f * Smoothstep(0.45f, 0.8f, brushed));
    });
    return p;
}

// The pendulum bob's face, mapped flat across it: turned rings and a domed shine from the upper
// left, baked in because its vertex light has no highlight. Outside the disc (where the rod
// samples) plain brass.
Canvas PendulumBob(int size) {
    Canvas p = Brass(size);
    const Rgb shine = Hex(0xf4e0a8), shadow = Hex(0x4a3618);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f) / static_cast<float>(size) * 2 - 1;
            const float dy = (static_cast<float>(y) + 0.5f) / static_cast<float>(size) * 2 - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r > 1) continue;
            Rgb& c = p.At(x, y);
            c = c * (0.92f + 0.08f * std::sin(r * 90));
            const float hx = dx + 0.35f, hy = dy + 0.35f;
            c = Mix(c, shine, 0.55f * Smoothstep(0.45f, 0.0f, std::sqrt(hx * hx + hy * hy)));
            c = Mix(c, shadow, 0.5f * Smoothstep(0.75f, 1.0f, r));
        }
    return p;
}

// Velvet in folds: one fold per repeat across u, its crest lighter with a soft sheen.
Canvas Velvet(int size) {
    Canvas p(size, size);
    const Rgb velvet = Hex(0x5a1a1e), shadow = Hex(0x240a0c), sheen = Hex(0x7a3036);
    p.Fill([&](float u, float v) {
        const float crest = 0.5f + 0.5f * std::sin(kTwoPi * u);
        const float pile = Fbm(u, v, 4, 8, 32, 51);
        Rgb c = Mix(shadow, velvet, 0.35f + 0.65f * crest);
        c = Mix(c, sheen, Smoothstep(0.8f, 1.0f, crest) * 0.5f);
        return c * (0.85f + 0.3f * pile);
    });
    return p;
}

Canvas Upholstery(int size) {
    Canvas p(size, size);
    const Rgb ground = Hex(0x3a4a44), figure = Hex(0x5a4a30);
    p.Fill([&](float u, float v) {
        float cu = u * 8, cv = v * 8;
        cu = cu - std::floor(cu) - 0.5f;
        cv = cv - std::floor(cv) - 0.5f;
        const float diamond = Smoothstep(0.3f, 0.24f, std::fabs(cu) + std::fabs(cv));
        const float weave = 0.85f + 0.15f * std::sin(kTwoPi * u * 128) * std::sin(kTwoPi * v * 128);
        return Mix(ground, figure, diamond * 0.8f) * weave * (0.9f + 0.2f * Fbm(u, v, 3, 4, 4, 61));
    });
    return p;
}

Canvas Lampshade(int size) {
    Canvas p(size, size);
    const Rgb parchment = Hex(0xe8c99a), fibre = Hex(0xc8a070);
    p.Fill([&](float u, float v) {
        const float fibres = Fbm(u, v, 5, 16, 4, 71);
        const float seam = Smoothstep(0.01f, 0.0f, std::fabs(u - 0.5f));
        return Mix(parchment, fibre, 0.5f * fibres + 0.15f * seam);
    });
    return p;
}

// A leather binding with two gilt bands across the spine side.
Canvas Leather(int size) {
    Canvas p(size, size);
    const Rgb leather = Hex(0x4a2418), dark = Hex(0x2a120c), gilt = Hex(0x8a6a30);
    p.Fill([&](float u, float v) {
        const float grain = Fbm(u, v, 5, 16, 16, 81);
        Rgb c = Mix(dark, leather, 0.5f + 0.5f * grain);
        for (float band : {0.2f, 0.8f})
            c = Mix(c, gilt, Smoothstep(0.012f, 0.006f, std::fabs(v - band)) * 0.8f);
        return c;
    });
    return p;
}

// Sixteen book bindings side by side, each a column of its own colour with gilt bands.
Canvas Bindings(int size) {
    Canvas p(size, size);
    const uint32_t colours[16] = {0x4a1e18, 0x1e3224, 0x2a2030, 0x3a2a16, 0x5a2a1a, 0x1c2a3a, 0x40361c, 0x2e1410,
                                  0x243a2a, 0x4a3a2a, 0x301a26, 0x1a1e2e, 0x5a4426, 0x3a1c1c, 0x26302a, 0x44281c};
    p.Fill([&](float u, float v) {
        const int column = std::min(15, static_cast<int>(u * 16));
        Rgb c = Hex(colours[column]) * (0.85f + 0.3f * Fbm(u, v, 4, 16, 16, 621));
        const float h = Hash(column, 0, 622);
        for (float band : {0.08f, 0.12f, 0.88f, 0.3f + 0.3f * h})
            c = Mix(c, Hex(0x8a6a30), Smoothstep(0.012f, 0.006f, std::fabs(v - band)) * 0.8f);
        return c;
    });
    return p;
}

Canvas Steel(int size) {
    Canvas p(size, size);
    p.Fill([&](float u, float v) {
        const float sheen = Smoothstep(0.2f, 0.5f, u) * Smoothstep(0.8f, 0.5f, u);
        return Mix(Hex(0x0c0f18), Hex(0x2a3450), sheen * 0.6f + 0.1f * Fbm(u, v, 3, 4, 4, 91));
    });
    return p;
}

// Old glass: nearly black, with a broad soft reflection band and a thin one.
Canvas Glass(int size) {
    Canvas p(size, size);
    p.Fill([&](float u, float v) {
        const float d = u * 0.7f + v * 0.3f;
        const float band = Smoothstep(0.14f, 0.0f, std::fabs(d - 0.35f)) * 0.6f +
                           Smoothstep(0.02f, 0.0f, std::fabs(d - 0.58f)) * 0.5f;
        return Mix(Hex(0x1a2026), Hex(0x6a7888), 0.6f * band + 0.05f * Fbm(u, v, 3, 4, 4, 95));
    });
    return p;
}

}  // namespace

std::vector<TextureDef> PaintTextures() {
    std::vector<TextureDef> t;
    t.push_back({"Floor.dds", Floor(512)});
    t.push_back({"Walnut.dds", Walnut(512, 1)});
    t.push_back({"Wallpaper.dds", Wallpaper(512)});
    t.push_back({"Panelling.dds", Panelling(512)});
    t.push_back({"Plaster.dds", Plain(256, 0x9c958a, 0.08f, 8, 111)});
    t.push_back({"Paint.dds", Plain(256, 0x3a4038, 0.06f, 8, 112)});
    t.push_back({"Brass.dds", Brass(256)});
    t.push_back({"Bob.dds", PendulumBob(256)});
    t.push_back({"Gilt.dds", Plain(256, 0x8a6a30, 0.2f, 16, 113)});
    t.push_back({"Wax.dds", Plain(256, 0xd8cdb0, 0.05f, 4, 114)});
    t.push_back({"Steel.dds", Steel(256)});
    t.push_back({"Glass.dds", Glass(256)});
    t.push_back({"Velvet.dds", Velvet(512)});
    t.push_back({"Upholstery.dds", Upholstery(256)});
    t.push_back({"Lampshade.dds", Lampshade(256)});
    t.push_back({"Leather.dds", Leather(256)});
    t.push_back({"Bindings.dds", Bindings(256)});
    t.push_back({"Dial.dds", PaintDial(1024)});
    t.push_back({"Rug.dds", PaintRug(1024)});
    t.push_back({"Landscape.dds", PaintLandscape(2048, 1024)});
    t.push_back({"Clouds.png", PaintClouds(1024, 256), true});
    t.push_back({"Painting.dds", PaintDefaultPicture(512)});
    t.push_back({"Rain.png", PaintRainDrops(256), true});
    t.push_back({"RainTrickles.png", PaintRainTrickles(256), true});
    return t;
}

}  // namespace room
