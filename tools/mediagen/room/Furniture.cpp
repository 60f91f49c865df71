// The furnishings: the floor lamp with its glowing shade, the small table with a book and a candle,
// the armchair, the rug and the framed picture.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Model.h"
#include "media/Manifest.h"
#include "paint/Patterns.h"
#include "RoomLayout.h"
#include "Shapes.h"

namespace room {

using namespace paint;

namespace {

void AddLamp(RoomModel& model) {
    SceneObject stand = Object("Lamp stand", "Brass");
    AddLathe(stand.mesh,
             {{15, 0}, {15, 1.5f}, {13, 3.5f}, {8, 5}, {3, 7}, {1.6f, 10}, {1.4f, 60}, {2.4f, 62}, {1.4f, 64},
              {1.4f, 122}, {3.5f, 124}, {3.5f, 127}, {0, 127.5f}},
             48, math::Translation(kLampBase.x, kLampBase.y, kLampBase.z), 1, 30);
    model.objects.push_back(std::move(stand));

    const float h = kLampShadeTop - kLampShadeBottom;
    const std::vector<Vec2> outside{{23, 0}, {22.4f, h * 0.15f}, {21.5f, h * 0.3f}, {19.5f, h * 0.55f}, {17, h * 0.75f}, {13, h}};
    const math::Mat4 place = math::Translation(kLampBase.x, kLampShadeBottom, kLampBase.z);

    // The parchment, lit through from the bulb: part of the room, so the wink dims it with the rest.
    // Its light map is its own light alone, strongest at the lower rim, where the bulb is nearest
    // and the parchment folds under, and under the wink's half so a wink puts it out. It lets the
    // lamp's light through for the bake.
    SceneObject shade = Object("Lamp shade", "Parchment");
    shade.castsShadow = false;
    shade.lightMapDensity = 1.0f;
    AddLathe(shade.mesh, outside, 96, place, 3, h);
    shade.glow = [h](Vec3 p) {
        const float t = std::clamp((p.y - kLampShadeBottom) / h, 0.0f, 1.0f);  // 0 at the rim, 1 at the top
        return 0.34f + 0.2f * (1 - t) * (1 - t) + 0.14f * Smoothstep(0.12f, 0.0f, t);
    };
    model.objects.push_back(std::move(shade));

    // What glows on its own, drawn first and added to the black background: the inside of the
    // shade (seen from below, or through the top) and the bulb. The parchment in front of them, in
    // the room pass, hides both from the side.
    SceneObject glow = Object(manifest::kLampNode, "Lampshade", Lighting::kNone);
    glow.castsShadow = false;
    glow.keys = {{"Blend", "additive"}, {"Lit", "0"}};
    std::vector<Vec2> inside;
    for (auto p = outside.rbegin(); p != outside.rend(); ++p) inside.push_back({p->x - 0.4f, p->y});
    AddLathe(glow.mesh, inside, 96, place, 3, h);
    for (MeshVertex& v : glow.mesh.vertices) {
        const float t = (v.position.y - kLampShadeBottom) / h;
        // Kept well below white so the parchment's fibres still show through the glow.
        const auto level = [&](float full) { return static_cast<uint32_t>(full * 0.92f * (1.0f - 0.5f * t)); };
        v.color = 0xFF000000u | level(255) << 16 | level(165) << 8 | level(95);
    }
    const size_t bulbFrom = glow.mesh.vertices.size();
    AddLathe(glow.mesh, {{0.01f, -4.5f}, {2.4f, -3.8f}, {3.4f, -1.5f}, {3.5f, 0.5f}, {2.6f, 2.6f}, {1.2f, 3.6f}, {0.01f, 4}},
             24, math::Translation(kLampBase.x, kLampShadeBottom + 11, kLampBase.z), 1, 8);
    for (size_t i = bulbFrom; i < glow.mesh.vertices.size(); ++i) glow.mesh.vertices[i].color = 0xFFFFE8C8u;
    model.objects.push_back(std::move(glow));

    // A fringe of glass beads round the shade's rim.
    SceneObject beads = Object("Lamp beads", "Gilt");
    // Fewer and larger than real beads: a bead under a pixel across flickers from frame to frame.
    for (int k = 0; k < 24; ++k) {
        const float a = 6.2831853f * static_cast<float>(k) / 24;
        const Vec3 at{kLampBase.x + 23.6f * std::cos(a), kLampShadeBottom - 5.5f, kLampBase.z + 23.6f * std::sin(a)};
        AddLathe(beads.mesh, {{0.01f, 0}, {1.1f, 0.8f}, {1.1f, 2.0f}, {0.45f, 2.8f}, {0.45f, 5.5f}, {0.01f, 5.6f}}, 8,
                 math::Translation(at.x, at.y, at.z), 1, 5);
    }
    beads.lightMapDensity = 1.0f;
    model.objects.push_back(std::move(beads));
}

void AddTable(RoomModel& model) {
    SceneObject table = Object("Table", "Walnut");
    const Vec3 c = kTableCentre;
    const float w = 23, d = 22, top = 72;
    AddBox(table.mesh, {c.x - w, top - 3, c.z - d}, {c.x + w, top, c.z + d}, 40);
    AddBox(table.mesh, {c.x - w + 3, top - 11, c.z - d + 3}, {c.x + w - 3, top - 3, c.z + d - 3}, 40,
           kAllFaces & ~kFaceMaxY);
    for (float sx : {-1.0f, 1.0f})
        for (float sz : {-1.0f, 1.0f}) {
            const float x = c.x + sx * (w - 5), z = c.z + sz * (d - 5);
            AddLathe(table.mesh, {{1.6f, 0}, {2.2f, 2}, {1.4f, 8}, {1.8f, 40}, {2.6f, 50}, {2.2f, 58}, {2.4f, 61}},
                     24, math::Translation(x, 0, z), 1, 30);
        }
    model.objects.push_back(std::move(table));

    SceneObject book = Object("Book", "Leather");
    Mesh cover;
    AddBox(cover, {-11, 0, -8}, {11, 3.2f, 8}, 22);
    cover.Transform(math::Multiply(math::RotationY(0.35f), math::Translation(c.x - 6, top, c.z + 6)));
    book.mesh = std::move(cover);
    model.objects.push_back(std::move(book));

    SceneObject holder = Object("Candlestick", "Brass");
    AddLathe(holder.mesh, {{5, 0}, {5, 0.8f}, {2, 2}, {1, 6}, {1.2f, 10}, {3, 11}, {3, 12}, {0, 12.2f}}, 32,
             math::Translation(c.x + 10, top, c.z - 10), 1, 8);
    model.objects.push_back(std::move(holder));
    SceneObject candle = Object("Candle", "Wax");
    AddLathe(candle.mesh, {{1.6f, 0}, {1.6f, 15}, {1.2f, 15.6f}, {0, 15.8f}}, 32,
             math::Translation(c.x + 10, top + 12, c.z - 10), 1, 16);
    model.objects.push_back(std::move(candle));
}

void AddArmchair(RoomModel& model) {
    SceneObject fabric = Object("Armchair", "Upholstery");
    SceneObject legs = Object("Armchair legs", "Walnut");
    // Built facing +x, then turned toward the clock.
    AddBox(fabric.mesh, {-26, 36, -27}, {26, 48, 27}, 40, kAllFaces & ~kFaceMinY);
    AddBox(fabric.mesh, {-22, 48, -24}, {24, 54, 24}, 40, kAllFaces & ~kFaceMinY);   // cushion
    AddBox(fabric.mesh, {-34, 36, -31}, {-24, 98, 31}, 40, kAllFaces & ~kFaceMaxY);   // back
    AddLathe(fabric.mesh, {{0.01f, 0}, {5, 0}, {5, 62}, {0.01f, 62}}, 24, Frame({-29, 98, -31}, {0, 0, 1}, {0, 1, 0}),
             2, 20, -1.5707963f, 1.5707963f);                                             // rounded top
    AddLathe(fabric.mesh, {{0.01f, 0}, {6, 0}, {6, 48}, {0.01f, 48}}, 24, Frame({24, 48, -24}, {0, 0, 1}, {1, 0, 0}),
             2, 20, -1.5707963f, 1.5707963f);                                             // seat front roll
    for (float s : {-1.0f, 1.0f}) {
        AddBox(fabric.mesh, {-24, 36, s > 0 ? 26.0f : -34.0f}, {26, 64, s > 0 ? 34.0f : -26.0f}, 40);  // arms
        AddLathe(fabric.mesh, {{0.01f, -5}, {4, -4.2f}, {5.2f, -2}, {5.5f, 0}, {5.2f, 2}, {4, 4.2f}, {0, 5}}, 32,
                 Frame({-24, 64, s * 30}, {1, 0, 0}, {0, 1, 0}), 2, 20);  // rolled arm front
        for (float x : {-28.0f, 22.0f})
            AddLathe(legs.mesh, {{2.2f, 0}, {2.6f, 4}, {2.0f, 30}, {2.8f, 33}, {2.8f, 36}}, 24,
                     math::Translation(x, 0, s * 28), 1, 20);
    }
    const Vec3 facing = math::Normalize(Vec3{kDialCentre.x, 0, kDialCentre.z} - kChairCentre);
    const math::Mat4 place =
        math::Multiply(math::RotationY(std::atan2(-facing.z, facing.x)), math::Translation(kChairCentre.x, 0, kChairCentre.z));
    fabric.mesh.Transform(place);
    legs.mesh.Transform(place);
    model.objects.push_back(std::move(fabric));
    model.objects.push_back(std::move(legs));
}

void AddPicture(RoomModel& model) {
    const Vec3 c = kPictureCentre;
    const float hw = 22.5f, hh = 17.5f, border = 6;
    SceneObject frame = Object("Picture frame", "Gilt");
    const std::vector<Vec2> moulding = {{0, 0}, {1.2f, 0.4f}, {2.6f, 1.4f}, {3.0f, 3}, {2.4f, 4.6f}, {1.6f, 5.4f},
                                        {1.0f, 6}};
    // Four mitre-less bars: each sweeps the moulding along one side, its inner edge at the canvas.
    struct Side {
        Vec3 start, direction, up;
        float length;
    };
    const Side sides[4] = {
        {{c.x, c.y - hh, c.z + hw + border}, {0, 0, -1}, {0, -1, 0}, 2 * (hw + border)},
        {{c.x, c.y + hh, c.z - hw - border}, {0, 0, 1}, {0, 1, 0}, 2 * (hw + border)},
        {{c.x, c.y + hh + border, c.z + hw}, {0, -1, 0}, {0, 0, 1}, 2 * (hh + border)},
        {{c.x, c.y - hh - border, c.z - hw}, {0, 1, 0}, {0, 0, -1}, 2 * (hh + border)},
    };
    for (const Side& s : sides) {
        std::vector<Vec2> profile;  // (toward the room, outward from the canvas)
        for (const Vec2& p : moulding) profile.push_back({p.x, border * p.y / 6});
        AddExtrusion(frame.mesh, profile, s.start, s.direction, s.length, {-1, 0, 0}, s.up, 20);
    }
    model.objects.push_back(std::move(frame));

    SceneObject canvas = Object(manifest::kPictureNode, "Painting");
    AddQuad(canvas.mesh, {c.x - 0.5f, c.y + hh, c.z + hw}, {0, 0, -2 * hw}, {0, -2 * hh, 0}, {-1, 0, 0}, {0, 0},
            {1, 1});
    model.objects.push_back(std::move(canvas));
}

void AddRug(RoomModel& model) {
    SceneObject rug = Object("Rug", "Rug");
    const float x0 = -70, x1 = 150, z0 = -75, z1 = 75, y = 0.6f;
    AddQuad(rug.mesh, {x0, y, z1}, {x1 - x0, 0, 0}, {0, 0, z0 - z1}, {0, 1, 0}, {0, 0}, {1, 1});
    model.objects.push_back(std::move(rug));
    // Fringes on the two short ends: flat tassel bundles lying on the boards, tapering, of the
    // rug's own outer indigo (their texture is the rug's outermost band). Wide enough to cover
    // several pixels from across the room, so without multisampling they do not sparkle as single
    // threads would; spaced, sized and splayed unevenly so that they read as wool, not as a row.
    SceneObject fringe = Object("Rug fringe", "Rug");
    const int bundles = 24;
    const float spacing = (z1 - z0 - 4) / bundles;
    for (float end : {x0, x1}) {
        const float out = end == x0 ? -1.0f : 1.0f;
        const float u = end == x0 ? 0.008f : 0.992f;  // inside the band's outer 3 centimetres
        const int side = end == x0 ? 0 : 4;
        for (int k = 0; k < bundles; ++k) {
            const float z = z0 + 2 + spacing * (static_cast<float>(k) + 0.5f + 0.35f * (Hash(k, side, 701) - 0.5f));
            const float length = 3.5f + 5 * Hash(k, side + 1, 701);
            const float sway = 4 * (Hash(k, side + 2, 701) - 0.5f);
            const float width = spacing * (0.45f + 0.45f * Hash(k, side + 3, 701));
            fringe.mesh.AddPatch(2, 2, [&](int i, int j) {
                const float across = static_cast<float>(i) - 0.5f, along = static_cast<float>(j);
                const float pz = z + sway * along + across * width * (1 - 0.5f * along);
                return GridPoint{{end + out * length * along, 0.45f, pz}, {0, 1, 0}, {u, (z1 - pz) / (z1 - z0)}};
            });
        }
    }
    fringe.lightMapDensity = 1.0f;
    model.objects.push_back(std::move(fringe));
}

}  // namespace

void BuildFurniture(RoomModel& model) {
    AddLamp(model);
    AddTable(model);
    AddArmchair(model);
    AddPicture(model);
    AddRug(model);
}

}  // namespace room
