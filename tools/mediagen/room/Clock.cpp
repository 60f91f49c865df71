// The pendulum clock: a walnut case on a plinth, a trunk with a glazed door, a hood with an arched
// crest, brass finials, an arched brass-and-ivory dial, two hands turned by the application, a
// swinging pendulum and two weights on their chains.
#include <cmath>
#include <vector>

#include "ClockParts.h"
#include "Model.h"
#include "RoomLayout.h"
#include "Shapes.h"
#include "media/Manifest.h"

namespace room {

namespace {

constexpr float kPi = 3.14159265f;

// The arched crest on top of the hood: a curved roof swept from front to back and its front face.
void AddCrest(Mesh& mesh, float x0, float x1, float baseY, float halfWidth, float rise) {
    const int n = 24;
    std::vector<Vec2> arch;  // (z, y) from the right end over the top to the left end
    for (int i = 0; i <= n; ++i) {
        const float a = kPi * static_cast<float>(i) / n;
        arch.push_back({-halfWidth * std::cos(a), baseY + rise * std::sin(a)});
    }
    // Swept along +x with "out" = -z, so the roof faces up and outwards.
    std::vector<Vec2> profile;
    for (const Vec2& p : arch) profile.push_back({-p.x, p.y});
    AddExtrusion(mesh, profile, {x0, 0, 0}, {1, 0, 0}, x1 - x0, {0, 0, -1}, {0, 1, 0}, 40);
    mesh.AddPatch(n + 1, 2, [&](int i, int j) {
        const Vec2 p = arch[static_cast<size_t>(i)];
        const float y = j ? p.y : baseY;
        return GridPoint{{x0, y, p.x}, {-1, 0, 0}, {-p.x / 40, -y / 40}};
    });
}

void AddFinial(Mesh& mesh, Vec3 at, float scale) {
    std::vector<Vec2> profile = {{2.2f, 0}, {2.2f, 0.8f}, {1.0f, 1.6f}, {0.8f, 2.6f}};
    for (int i = 0; i <= 8; ++i) {  // a ball
        const float a = -kPi / 2 + kPi * static_cast<float>(i) / 8;
        profile.push_back({2.0f * std::cos(a) + 0.01f, 4.6f + 2.0f * std::sin(a)});
    }
    profile.push_back({0.6f, 7.0f});
    profile.push_back({0.0f, 11.0f});
    for (Vec2& p : profile) p = {p.x * scale, p.y * scale};
    AddLathe(mesh, profile, 32, math::Translation(at.x, at.y, at.z), 1, 10);
}

}  // namespace

void BuildClock(RoomModel& model) {
    const float back = kClockBack;
    SceneObject caseObject = Object("Clock case", "Walnut");
    Mesh& m = caseObject.mesh;
    // Plinth, with a stepped foot and a moulded top.
    AddBox(m, {back - 32, 0, -28}, {back, 6, 28}, 40, kAllFaces & ~kFaceMaxX & ~kFaceMinY);
    AddBox(m, {back - 29, 6, -26}, {back, 36, 26}, 40, kAllFaces & ~kFaceMaxX & ~kFaceMinY);
    const std::vector<Vec2> ogee = {{0, 0}, {1.6f, 0.6f}, {2.6f, 1.8f}, {2.6f, 2.8f}, {1.6f, 4.0f}, {0, 4.5f}};
    AddBox(m, {back - 29, 36, -26}, {back, 40.5f, 26}, 40, kFaceMaxY);
    AddExtrusion(m, ogee, {back - 29, 36, 26}, {0, 0, -1}, 52, {-1, 0, 0}, {0, 1, 0}, 40);
    // The trunk: sides, a back board and the door frame around the glazed opening.
    const float tf = back - 24;  // trunk front
    AddBox(m, {tf, 40, -21}, {back, 130, -18.5f}, 40, kAllFaces & ~kFaceMaxX);
    AddBox(m, {tf, 40, 18.5f}, {back, 130, 21}, 40, kAllFaces & ~kFaceMaxX);
    AddQuad(m, {back - 1, 130, 18.5f}, {0, 0, -37}, {0, -90, 0}, {-1, 0, 0}, {0, 0}, {0.9f, 2.2f});
    AddBox(m, {tf - 2, 40, -21}, {tf + 1, 130, -15}, 40, kAllFaces & ~kFaceMaxX);
    AddBox(m, {tf - 2, 40, 15}, {tf + 1, 130, 21}, 40, kAllFaces & ~kFaceMaxX);
    AddBox(m, {tf - 2, 40, -15}, {tf + 1, 49, 15}, 40, kFaceMinX | kFaceMaxY);
    AddBox(m, {tf - 2, 121, -15}, {tf + 1, 130, 15}, 40, kFaceMinX | kFaceMinY);
    // Waist moulding and the hood.
    AddBox(m, {back - 27, 130, -24}, {back, 133, 24}, 40, kAllFaces & ~kFaceMaxX);
    AddExtrusion(m, ogee, {back - 27, 133, 24}, {0, 0, -1}, 48, {-1, 0, 0}, {0, 1, 0}, 40);
    const float hf = back - 30;  // hood front
    AddBox(m, {hf, 137.5f, -26}, {back, 205, 26}, 40, kAllFaces & ~kFaceMaxX);
    AddExtrusion(m, {{0, 0}, {1, 0.4f}, {3, 1.5f}, {3.6f, 2.6f}, {3.6f, 3.6f}, {2, 4}, {0, 4}}, {hf, 201, 26}, {0, 0, -1}, 52,
                 {-1, 0, 0}, {0, 1, 0}, 40);
    AddCrest(m, hf + 1, back, 205, 24, 16);
    model.objects.push_back(std::move(caseObject));

    SceneObject brass = Object("Clock brass", "Brass");
    AddFinial(brass.mesh, {back - 14, 221, 0}, 1.0f);
    AddFinial(brass.mesh, {back - 14, 205, 22}, 0.8f);
    AddFinial(brass.mesh, {back - 14, 205, -22}, 0.8f);
    // Turned columns beside the dial and the bezel round the chapter ring.
    for (float z : {-23.0f, 23.0f})
        AddLathe(brass.mesh, {{1.8f, 0}, {1.8f, 2}, {1.2f, 3}, {1.2f, 58}, {1.8f, 59}, {1.8f, 62}, {0, 62.5f}}, 24,
                 math::Translation(hf - 1.5f, 140, z), 1, 20);
    AddLathe(brass.mesh, {{kDialRadius + 2.2f, 0}, {kDialRadius + 2.0f, 0.6f}, {kDialRadius + 1.2f, 1.1f},
                          {kDialRadius + 0.4f, 0.9f}, {kDialRadius, 0.2f}},
             128, Frame(kDialCentre + Vec3{0.3f, 0, 0}, {-1, 0, 0}, {0, 1, 0}), 8, 4);
    // Narrow turned parts: at the room's density the bezel's profile would get under a texel of
    // light, and take its shade from the dial's corner.
    brass.lightMapDensity = 2.0f;
    model.objects.push_back(std::move(brass));

    SceneObject dial = Object("Dial", "Dial");
    // A break-arch plate: a square below and a half circle above the chapter ring.
    const float half = 18, top = kDialCentre.y + half;
    dial.mesh.AddPatch(33, 2, [&](int i, int j) {
        const float z = half - 2 * half * static_cast<float>(i) / 32;
        const float y = j ? top + std::sqrt(std::max(0.0f, half * half - z * z)) : kDialCentre.y - half;
        return GridPoint{{kDialCentre.x, y, z}, {-1, 0, 0}, {(half - z) / (2 * half), (top + half - y) / (3 * half)}};
    });
    model.objects.push_back(std::move(dial));

    model.objects.push_back(HourHand());
    model.objects.push_back(MinuteHand());
    model.objects.push_back(Pendulum());
    for (float z : {-12.0f, 12.0f}) model.objects.push_back(Weight(z));

    SceneObject glass = Object(manifest::kClockGlassNode, "Glass", Lighting::kNone);
    glass.castsShadow = false;
    glass.keys = {{"AlphaUse", "factor"}, {"Lit", "0"}};
    glass.alpha = 0.2f;
    AddQuad(glass.mesh, {tf - 1, 121, 15}, {0, 0, -30}, {0, -72, 0}, {-1, 0, 0}, {0, 0}, {1, 1});
    model.objects.push_back(std::move(glass));
}

}  // namespace room
