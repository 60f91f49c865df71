// The room's shell: floor, ceiling, four walls with wallpaper above a panelled wainscot, skirting,
// dado rail and cornice, and the window in the far wall with its frame and sill.
#include <vector>

#include "Model.h"
#include "RoomLayout.h"
#include "Shapes.h"

namespace room {

namespace {

struct Wall {
    Vec3 start;   // left end at floor level, as seen from inside the room
    Vec3 right;   // unit, along the wall
    Vec3 inward;  // the side that faces the room
    float length;
};

constexpr float kWallpaperTile = 64;
constexpr float kPanelRepeat = 96;  // one texture repeat holds two panels

const Wall kWalls[4] = {
    {{kRoomMax.x, 0, kRoomMax.z}, {0, 0, -1}, {-1, 0, 0}, kRoomMax.z - kRoomMin.z},  // far wall, window
    {{kRoomMax.x, 0, kRoomMin.z}, {-1, 0, 0}, {0, 0, 1}, kRoomMax.x - kRoomMin.x},
    {{kRoomMin.x, 0, kRoomMin.z}, {0, 0, 1}, {1, 0, 0}, kRoomMax.z - kRoomMin.z},
    {{kRoomMin.x, 0, kRoomMax.z}, {1, 0, 0}, {0, 0, -1}, kRoomMax.x - kRoomMin.x},
};

// A rectangle of wall from a0 to a1 along it and y0 to y1 up.
void WallRect(Mesh& mesh, const Wall& w, float a0, float a1, float y0, float y1, bool panel) {
    const Vec3 origin = w.start + w.right * a0 + Vec3{0, y1, 0};
    const Vec2 uv0 = panel ? Vec2{a0 / kPanelRepeat, (kDadoHeight - y1) / kDadoHeight}
                           : Vec2{a0 / kWallpaperTile, -y1 / kWallpaperTile};
    const Vec2 uv1 = panel ? Vec2{a1 / kPanelRepeat, (kDadoHeight - y0) / kDadoHeight}
                           : Vec2{a1 / kWallpaperTile, -y0 / kWallpaperTile};
    AddQuad(mesh, origin, w.right * (a1 - a0), {0, -(y1 - y0), 0}, w.inward, uv0, uv1);
}

}  // namespace

void BuildRoomShell(RoomModel& model) {
    const float height = kRoomMax.y;
    SceneObject floor = Object("Floor", "Floor");
    AddQuad(floor.mesh, {kRoomMin.x, 0, kRoomMax.z}, {kRoomMax.x - kRoomMin.x, 0, 0}, {0, 0, kRoomMin.z - kRoomMax.z},
            {0, 1, 0}, {0, 0}, {(kRoomMax.x - kRoomMin.x) / 150, (kRoomMax.z - kRoomMin.z) / 150});
    model.objects.push_back(std::move(floor));

    SceneObject ceiling = Object("Ceiling", "Plaster");
    AddQuad(ceiling.mesh, {kRoomMin.x, height, kRoomMin.z}, {kRoomMax.x - kRoomMin.x, 0, 0},
            {0, 0, kRoomMax.z - kRoomMin.z}, {0, -1, 0}, {0, 0}, {4, 4});
    model.objects.push_back(std::move(ceiling));

    SceneObject paper = Object("Walls", "Wallpaper");
    SceneObject panels = Object("Wainscot", "Panelling");
    SceneObject trim = Object("Skirting and rails", "Walnut");
    SceneObject cornice = Object("Cornice", "Plaster");
    const std::vector<Vec2> skirting = {{0, 0}, {1.8f, 0}, {1.8f, 13}, {1.2f, 14.5f}, {0.6f, 15.5f}, {0, 16}};
    const std::vector<Vec2> dado = {{0, kDadoHeight - 3}, {1.5f, kDadoHeight - 3}, {2.2f, kDadoHeight - 1.5f},
                                    {2.2f, kDadoHeight}, {1.2f, kDadoHeight + 1.5f}, {0, kDadoHeight + 2}};
    const std::vector<Vec2> cove = {{0, height - 18}, {1.5f, height - 17}, {1.5f, height - 15}, {3, height - 13},
                                    {6, height - 9.5f}, {9, height - 7}, {12, height - 5}, {13.5f, height - 4},
                                    {13.5f, height - 2}, {16, height - 1}, {16, height}};
    for (const Wall& w : kWalls) {
        const bool windowWall = &w == &kWalls[0];
        const float top = height - 18;
        if (windowWall) {
            // The far wall runs from z = +200 to -200: the window spans a = 200 - z.
            const float a0 = kRoomMax.z - kWindowMax.z, a1 = kRoomMax.z - kWindowMin.z;
            WallRect(paper.mesh, w, 0, a0, kDadoHeight, top, false);
            WallRect(paper.mesh, w, a1, w.length, kDadoHeight, top, false);
            WallRect(paper.mesh, w, a0, a1, kWindowTop, top, false);
        } else {
            WallRect(paper.mesh, w, 0, w.length, kDadoHeight, top, false);
        }
        WallRect(panels.mesh, w, 0, w.length, 0, kDadoHeight, true);
        const Vec3 out = w.inward, up{0, 1, 0};
        AddExtrusion(trim.mesh, skirting, w.start, w.right, w.length, out, up, 40);
        AddExtrusion(trim.mesh, dado, w.start, w.right, w.length, out, up, 40);
        AddExtrusion(cornice.mesh, cove, w.start, w.right, w.length, out, up, 40);
    }
    model.objects.push_back(std::move(paper));
    model.objects.push_back(std::move(panels));
    model.objects.push_back(std::move(trim));
    model.objects.push_back(std::move(cornice));

    // The window: a deep reveal, a painted frame with a mullion and two transoms, a sill.
    SceneObject reveal = Object("Window reveal", "Plaster");
    const float x0 = kRoomMax.x, x1 = kRoomMax.x + kWallThickness;
    const float wz0 = kWindowMin.z, wz1 = kWindowMax.z, wy0 = kDadoHeight, wy1 = kWindowTop;
    AddQuad(reveal.mesh, {x0, wy1, wz0}, {x1 - x0, 0, 0}, {0, wy0 - wy1, 0}, {0, 0, 1}, {0, 0}, {0.3f, 1.5f});
    AddQuad(reveal.mesh, {x0, wy1, wz1}, {x1 - x0, 0, 0}, {0, wy0 - wy1, 0}, {0, 0, -1}, {0, 0}, {0.3f, 1.5f});
    AddQuad(reveal.mesh, {x0, wy1, wz0}, {x1 - x0, 0, 0}, {0, 0, wz1 - wz0}, {0, -1, 0}, {0, 0}, {0.3f, 1.2f});
    model.objects.push_back(std::move(reveal));

    SceneObject frame = Object("Window frame", "Paint");
    const float fx0 = kWindowGlassX - 3, fx1 = kWindowGlassX + 3, f = 6, bar = 4;
    AddBox(frame.mesh, {fx0, wy0, wz0}, {fx1, wy1, wz0 + f}, 30);
    AddBox(frame.mesh, {fx0, wy0, wz1 - f}, {fx1, wy1, wz1}, 30);
    AddBox(frame.mesh, {fx0, wy1 - f, wz0 + f}, {fx1, wy1, wz1 - f}, 30);
    AddBox(frame.mesh, {fx0, wy0, wz0 + f}, {fx1, wy0 + f + 2, wz1 - f}, 30);
    const float midZ = (wz0 + wz1) / 2;
    AddBox(frame.mesh, {fx0 + 0.5f, wy0 + f, midZ - bar / 2}, {fx1 - 0.5f, wy1 - f, midZ + bar / 2}, 30);
    for (int k = 1; k <= 2; ++k) {
        const float y = wy0 + (wy1 - wy0) * static_cast<float>(k) / 3;
        AddBox(frame.mesh, {fx0 + 0.5f, y - bar / 2, wz0 + f}, {fx1 - 0.5f, y + bar / 2, wz1 - f}, 30);
    }
    model.objects.push_back(std::move(frame));

    SceneObject sill = Object("Window sill", "Walnut");
    AddBox(sill.mesh, {kRoomMax.x - 9, wy0 - 4, wz0 - 7}, {fx0, wy0, wz1 + 7}, 40, kAllFaces & ~kFaceMaxX);
    model.objects.push_back(std::move(sill));

    BuildWindowView(model);
}

void BuildRoom(RoomModel& model) {
    BuildRoomShell(model);
    BuildClock(model);
    BuildFurniture(model);
    BuildCurtain(model);
    BuildBookcase(model);
}

}  // namespace room
