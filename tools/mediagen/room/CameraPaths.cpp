#include "CameraPaths.h"

#include <bit>
#include <cmath>
#include <memory>

#include "udf/UdfNode.h"
#include "udf/UdfWriter.h"

namespace room {

namespace {

using math::Vec3;

// Keys `step` apart from time 0, one per (position, target) pair.
CameraPath Path(const char* file, float step, std::vector<std::pair<Vec3, Vec3>> poses) {
    CameraPath path{file, {}};
    for (size_t i = 0; i < poses.size(); ++i)
        path.keys.push_back({step * static_cast<float>(i), poses[i].first, poses[i].second});
    return path;
}

const Vec3 kDial{169.5f, 165, 0};

}  // namespace

std::vector<CameraPath> CameraPaths() {
    std::vector<CameraPath> paths;
    // A slow dolly from beside the armchair toward the dial.
    paths.push_back(Path("c1.cam", 294,
                         {{{20, 125, 112}, kDial}, {{65, 138, 70}, kDial}, {{105, 152, 22}, kDial},
                          {{135, 162, 8}, kDial}}));
    // Round the front of the clock, from the lamp's side to the window's.
    std::vector<std::pair<Vec3, Vec3>> orbit;
    for (int i = 0; i < 6; ++i) {
        const float a = (14.0f - 17.0f * static_cast<float>(i)) * 3.14159265f / 180;
        orbit.push_back({{186 - 120 * std::cos(a), 130 + 3.0f * static_cast<float>(i), 120 * std::sin(a)},
                         {186, 135, 0}});
    }
    paths.push_back(Path("c2.cam", 200, orbit));
    // Down at the pendulum behind the glass, rising to the dial.
    paths.push_back(Path("c3.cam", 200,
                         {{{135, 70, 20}, {186, 60, 0}}, {{138, 82, 8}, {186, 80, 0}}, {{141, 100, -6}, {182, 105, 0}},
                          {{145, 130, -5}, {178, 135, 0}}, {{148, 158, 0}, kDial}}));
    // From the armchair toward the window and its storm.
    paths.push_back(Path("c4.cam", 200,
                         {{{30, 125, 120}, {205, 160, -120}}, {{55, 130, 70}, {205, 160, -120}},
                          {{75, 135, 15}, {205, 158, -120}}, {{90, 140, -40}, {205, 156, -120}},
                          {{100, 142, -70}, {205, 155, -120}}}));
    // Low over the floor boards and the rug to the clock's feet, then up.
    paths.push_back(Path("c5.cam", 200,
                         {{{-200, 22, -40}, {185, 15, 0}}, {{-120, 24, -25}, {185, 15, 0}}, {{-40, 26, -10}, {185, 20, 0}},
                          {{40, 30, -5}, {185, 30, 0}}, {{100, 48, 0}, {180, 80, 0}}, {{132, 85, 0}, {175, 130, 0}}}));
    // From beside the window back into the room and the lamp.
    paths.push_back(Path("c6.cam", 200,
                         {{{160, 150, -125}, {80, 120, 80}}, {{150, 146, -100}, {130, 140, 65}},
                          {{135, 142, -80}, {-100, 110, 100}}, {{115, 138, -60}, {-220, 120, 0}}}));
    // The grand tour of the whole room.
    paths.push_back(Path("c7.cam", 200,
                         {{{-220, 150, -150}, {200, 130, 0}},
                          {{-150, 155, -160}, {200, 160, -120}},
                          {{-60, 160, -165}, {200, 150, -120}},
                          {{40, 160, -160}, {200, 150, -60}},
                          {{110, 155, -120}, {190, 140, -20}},
                          {{120, 150, -55}, {175, 150, 0}},
                          {{95, 175, 10}, {170, 165, 0}},
                          {{80, 180, 30}, {130, 120, 65}},
                          {{60, 170, 60}, {199, 150, 130}},
                          {{70, 165, 100}, {199, 150, 130}},
                          {{20, 170, 130}, {199, 140, 130}},
                          {{-60, 165, 150}, {100, 90, 60}},
                          {{-150, 160, 150}, {100, 100, 0}},
                          {{-210, 150, 100}, {150, 120, 0}},
                          {{-215, 140, 30}, {170, 140, 0}},
                          {{-200, 120, 0}, {170, 120, 0}}}));
    // Close on the picture, then up and round to the clock, looking down over the lamp.
    paths.push_back(Path("c8.cam", 200,
                         {{{130, 150, 118}, {199, 150, 130}}, {{118, 151, 120}, {199, 150, 130}},
                          {{108, 160, 132}, {195, 150, 90}}, {{108, 185, 128}, kDial}, {{104, 192, 124}, kDial}}));
    // High in a ceiling corner, looking down on the room.
    paths.push_back(Path("c9.cam", 200,
                         {{{-225, 255, 175}, {100, 40, 0}}, {{-225, 255, 105}, {100, 40, 0}}, {{-225, 255, 35}, {110, 50, 0}},
                          {{-225, 255, -35}, {110, 50, -20}}, {{-225, 255, -105}, {100, 40, -20}},
                          {{-225, 255, -175}, {100, 40, 0}}}));
    // Sideways past the curtain until the window shows.
    paths.push_back(Path("c10.cam", 200,
                         {{{120, 150, -60}, {200, 150, -160}}, {{124, 150, -85}, {200, 150, -150}},
                          {{128, 150, -108}, {205, 150, -135}}, {{132, 150, -128}, {205, 150, -120}}}));
    return paths;
}

math::Quat LookRotation(math::Vec3 forward) {
    const Vec3 z = math::Normalize(forward);
    const Vec3 x = math::Normalize(math::Cross({0, 1, 0}, z));
    const Vec3 y = math::Cross(z, x);
    math::Mat4 m;
    const Vec3 rows[3] = {x, y, z};
    for (int r = 0; r < 3; ++r) {
        m(r, 0) = rows[r].x;
        m(r, 1) = rows[r].y;
        m(r, 2) = rows[r].z;
    }
    return math::QuatNormalize(math::QuatRotationMatrix(m));
}

bool WriteCameraPath(const std::string& path, const CameraPath& cameraPath) {
    std::vector<std::unique_ptr<UdfNode>> nodes;
    math::Quat previous;
    for (size_t i = 0; i < cameraPath.keys.size(); ++i) {
        const CameraKey& k = cameraPath.keys[i];
        math::Quat q = LookRotation(k.target - k.position);
        if (i > 0 && math::QuatDot(q, previous) < 0) q = {-q.x, -q.y, -q.z, -q.w};  // no turn the long way round
        previous = q;
        const float rot[8] = {k.time, q.x, q.y, q.z, q.w, 0, 0, 0};
        const float pos[8] = {k.time, k.position.x, k.position.y, k.position.z, 0, 0, 0, 0};
        const std::string index = std::to_string(i);
        nodes.push_back(std::make_unique<UdfNode>(EngineString(("rot" + index).c_str()), "rot", rot, 32, true));
        nodes.push_back(std::make_unique<UdfNode>(EngineString(("pos" + index).c_str()), "pos", pos, 32, true));
    }
    std::vector<UdfNode*> top;
    for (const auto& n : nodes) top.push_back(n.get());
    UdfWriter writer;
    return writer.Save(path.c_str(), top, nullptr, UdfWriter::kInMemory);
}

}  // namespace room
