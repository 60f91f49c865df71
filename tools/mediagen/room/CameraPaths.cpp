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
    // From the window's end of the room across the rug to the dial, the lamp off to the side.
    paths.push_back(Path("c1.cam", Piece::kClock, 294,
                         {{{-215, 180, -85}, kDial}, {{-90, 174, -55}, {169.5f, 160, -30}}, {{20, 170, -28}, {169.5f, 160, -60}},
                          {{112, 167, -6}, kDial}}));
    // Round the front of the clock from the window's side, spiralling down from above the window to
    // the pendulum, then up close to the dial.
    paths.push_back(Path("c2.cam", Piece::kClock, 200,
                         {{{95, 205, -150}, {186, 150, 0}}, {{75, 195, -110}, {186, 140, -45}}, {{65, 170, -70}, {186, 130, -35}},
                          {{64, 110, -26}, {186, 90, -30}}, {{71, 80, 6}, {186, 70, -30}}, {{107, 165, -11}, kDial}}));
    // In low across the rug to the pendulum behind the glass, up the case to the dial and back.
    paths.push_back(Path("c3.cam", Piece::kClock, 200,
                         {{{-170, 45, -90}, {186, 55, 0}}, {{-40, 55, -60}, {186, 60, -40}}, {{80, 65, -45}, {186, 65, -45}},
                          {{115, 105, -30}, {186, 100, -30}}, {{118, 160, -12}, kDial}, {{60, 185, -45}, {169.5f, 165, -40}}}));
    // From over the armchair toward the window and its storm.
    paths.push_back(Path("c4.cam", Piece::kWindow, 200,
                         {{{-150, 180, 100}, {205, 160, -120}}, {{-60, 170, 50}, {205, 160, -120}},
                          {{20, 160, 0}, {205, 158, -120}}, {{80, 152, -50}, {205, 156, -120}},
                          {{115, 150, -95}, {205, 155, -120}}, {{135, 140, -110}, {205, 150, -125}}}));
    // Low over the floor boards and the rug to the clock's feet, then up.
    paths.push_back(Path("c5.cam", Piece::kClock, 200,
                         {{{-200, 22, -40}, {185, 15, 0}}, {{-120, 24, -25}, {185, 15, 0}}, {{-40, 26, -10}, {185, 20, 0}},
                          {{40, 30, -5}, {185, 30, 0}}, {{100, 48, 0}, {180, 80, 0}}, {{128, 95, -5}, {175, 130, 0}}}));
    // From beside the window back across the room, keeping the lamp in view.
    paths.push_back(Path("c6.cam", Piece::kLamp, 200,
                         {{{135, 150, -120}, {152, 140, 78}}, {{90, 140, -90}, {152, 140, 78}},
                          {{20, 135, -40}, {152, 135, 78}}, {{-60, 130, 20}, {160, 130, 60}},
                          {{-120, 140, 60}, {175, 130, 40}}, {{-200, 160, 40}, {160, 135, 40}}}));
    // The grand tour of the whole room.
    paths.push_back(Path("c7.cam", Piece::kClock, 200,
                         {{{-200, 150, -150}, {200, 140, 0}},
                          {{-120, 155, -160}, {205, 160, -120}},
                          {{-20, 160, -160}, {205, 160, -120}},
                          {{80, 160, -150}, {205, 150, -110}},
                          {{120, 160, -80}, {205, 150, -120}},
                          {{95, 168, -15}, {169.5f, 165, -10}},
                          {{70, 205, -55}, {205, 150, -120}},
                          {{-20, 235, 40}, {40, 0, 0}},
                          {{-80, 215, 120}, {60, 40, 60}},
                          {{-50, 170, 140}, {60, 60, 120}},
                          {{-130, 185, 100}, {180, 150, 0}},
                          {{-190, 170, 60}, {180, 150, 0}},
                          {{-215, 150, -20}, {150, 120, 0}},
                          {{-180, 130, -100}, {205, 150, -120}},
                          {{-120, 110, -60}, {180, 130, 0}},
                          {{-60, 110, -10}, kDial}}));
    // The picture from beside it, the lamp off to its right; then up and back, turning down to the
    // armchair so the pan never passes the lamp in front of the clock, and on to the dial from the
    // window's side.
    paths.push_back(Path("c8.cam", Piece::kPicture, 200,
                         {{{30, 175, 165}, {199, 150, 190}}, {{95, 168, 172}, {199, 150, 165}}, {{60, 200, 170}, {199, 150, 165}},
                          {{-40, 230, 60}, {40, 30, 150}}, {{40, 190, -50}, {169.5f, 165, -50}}, {{100, 172, -35}, {169.5f, 165, -20}}}));
    // High in a ceiling corner, looking down on the room.
    paths.push_back(Path("c9.cam", Piece::kShell, 200,
                         {{{-225, 255, 175}, {100, 40, 0}}, {{-225, 255, 105}, {100, 40, 0}}, {{-225, 255, 35}, {110, 50, 0}},
                          {{-225, 255, -35}, {110, 50, -20}}, {{-225, 255, -105}, {100, 40, -20}},
                          {{-225, 255, -175}, {100, 40, 0}}}));
    // Sideways past the clock and the curtain until the window shows.
    paths.push_back(Path("c10.cam", Piece::kWindow, 200,
                         {{{-60, 165, 90}, {200, 150, -100}}, {{20, 158, 60}, {200, 150, -120}}, {{80, 150, 20}, {200, 150, -100}},
                          {{100, 152, -35}, {200, 150, -160}}, {{115, 150, -95}, {205, 150, -140}},
                          {{130, 148, -150}, {205, 150, -120}}}));
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
