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
CameraPath Path(const char* file, Piece subject, float step, std::vector<std::pair<Vec3, Vec3>> poses) {
    CameraPath path{file, subject, {}};
    for (size_t i = 0; i < poses.size(); ++i)
        path.keys.push_back({step * static_cast<float>(i), poses[i].first, poses[i].second});
    return path;
}

const Vec3 kDial{169.5f, 165, 0};

}  // namespace

std::vector<CameraPath> CameraPaths() {
    std::vector<CameraPath> paths;
    // From the window's end of the room across the rug to the dial, with the lamp behind the clock.
    paths.push_back(Path("c1.cam", Piece::kClock, 294,
                         {{{-120, 185, -130}, kDial}, {{0, 175, -100}, kDial}, {{45, 175, -95}, kDial},
                          {{120, 168, -2}, kDial}}));
    // Round the front of the clock toward the window's side, from high above the lamp's line to
    // the dial's height, coming closer.
    std::vector<std::pair<Vec3, Vec3>> orbit;
    for (int i = 0; i < 5; ++i) {
        const float f = static_cast<float>(i) / 4;
        const float a = (20.0f - 85.0f * f) * 3.14159265f / 180, r = 170 - 55 * f;
        orbit.push_back({{186 - r * std::cos(a), 250 - 150 * f, r * std::sin(a)}, {186, 150 - 20 * f, 0}});
    }
    paths.push_back(Path("c2.cam", Piece::kClock, 200, orbit));
    // Up from the floor to the pendulum behind the glass, rising to the dial.
    paths.push_back(Path("c3.cam", Piece::kClock, 200,
                         {{{20, 45, -70}, {186, 40, 0}}, {{95, 75, -55}, {186, 70, 0}}, {{118, 125, -35}, {184, 115, 0}},
                          {{125, 168, -5}, kDial}}));
    // From over the armchair toward the window and its storm.
    paths.push_back(Path("c4.cam", Piece::kWindow, 200,
                         {{{-100, 170, 60}, {205, 160, -120}}, {{-10, 160, 0}, {205, 160, -120}},
                          {{60, 150, -50}, {205, 158, -120}}, {{110, 150, -100}, {205, 156, -120}},
                          {{130, 150, -112}, {205, 155, -120}}}));
    // Low over the floor boards and the rug to the clock's feet, then up.
    paths.push_back(Path("c5.cam", Piece::kClock, 200,
                         {{{-200, 22, -40}, {185, 15, 0}}, {{-120, 24, -25}, {185, 15, 0}}, {{-40, 26, -10}, {185, 20, 0}},
                          {{40, 30, -5}, {185, 30, 0}}, {{100, 48, 0}, {180, 80, 0}}, {{128, 95, -5}, {175, 130, 0}}}));
    // From beside the window back across the room, keeping the lamp in view.
    paths.push_back(Path("c6.cam", Piece::kLamp, 200,
                         {{{135, 150, -120}, {152, 140, 78}}, {{90, 140, -90}, {152, 140, 78}},
                          {{20, 135, -40}, {152, 135, 78}}, {{-60, 130, 20}, {160, 130, 60}},
                          {{-120, 140, 60}, {175, 130, 40}}}));
    // The grand tour of the whole room.
    paths.push_back(Path("c7.cam", Piece::kClock, 200,
                         {{{-200, 150, -150}, {200, 140, 0}},
                          {{-120, 155, -160}, {205, 160, -120}},
                          {{-20, 160, -160}, {205, 160, -120}},
                          {{80, 160, -150}, {205, 150, -110}},
                          {{130, 165, -90}, {180, 150, 0}},
                          {{110, 172, -60}, kDial},
                          {{70, 205, -55}, kDial},
                          {{0, 225, 110}, {199, 150, 130}},
                          {{20, 180, 150}, {199, 150, 130}},
                          {{-50, 170, 140}, {60, 60, 120}},
                          {{-130, 185, 100}, {180, 150, 0}},
                          {{-190, 170, 60}, {180, 150, 0}},
                          {{-215, 150, -20}, {150, 120, 0}},
                          {{-180, 130, -100}, {205, 150, -120}},
                          {{-120, 110, -60}, {180, 130, 0}},
                          {{-60, 110, -10}, kDial}}));
    // Close on the picture from the corner beside it, then up over the room and round to the clock.
    paths.push_back(Path("c8.cam", Piece::kPicture, 200,
                         {{{120, 165, 160}, {199, 160, 160}}, {{20, 245, 168}, {199, 160, 190}},
                          {{40, 210, -40}, kDial}, {{95, 180, -70}, kDial}}));
    // High in a ceiling corner, looking down on the room.
    paths.push_back(Path("c9.cam", Piece::kShell, 200,
                         {{{-225, 255, 175}, {100, 40, 0}}, {{-225, 255, 105}, {100, 40, 0}}, {{-225, 255, 35}, {110, 50, 0}},
                          {{-225, 255, -35}, {110, 50, -20}}, {{-225, 255, -105}, {100, 40, -20}},
                          {{-225, 255, -175}, {100, 40, 0}}}));
    // Sideways past the clock and the curtain until the window shows.
    paths.push_back(Path("c10.cam", Piece::kWindow, 200,
                         {{{80, 150, 40}, {200, 150, -100}}, {{100, 152, -30}, {200, 150, -160}},
                          {{115, 150, -95}, {205, 150, -140}}, {{130, 148, -150}, {205, 150, -120}}}));
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
