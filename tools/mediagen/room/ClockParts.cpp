#include "ClockParts.h"

#include <cmath>
#include <string>
#include <vector>

#include "RoomLayout.h"
#include "Shapes.h"
#include "media/Manifest.h"

namespace room {

namespace {

constexpr float kPi = 3.14159265f;

// A flat hand along `direction` (+z or +x) at height `lift`, from its widths at stations.
void AddHandStrip(Mesh& mesh, const std::vector<Vec2>& stations, bool alongX, float lift) {
    mesh.AddPatch(2, static_cast<int>(stations.size()), [&](int i, int j) {
        const Vec2 s = stations[static_cast<size_t>(j)];  // (distance from the pivot, width)
        const float side = (i ? 0.5f : -0.5f) * s.y;
        const Vec3 p = alongX ? Vec3{s.x, lift, side} : Vec3{side, lift, s.x};
        return GridPoint{p, {0, 1, 0}, {i ? 1.0f : 0.0f, static_cast<float>(j) / (stations.size() - 1)}};
    });
    AddLathe(mesh, {{1.3f, lift + 0.05f}, {0, lift + 0.05f}}, 16, math::Identity(), 1, 4);
}

SceneObject Hand(const char* name, const std::vector<Vec2>& stations, bool alongX, float lift, float towardRoom) {
    SceneObject hand;
    hand.name = name;
    hand.material = "Blued steel";
    hand.lighting = Lighting::kVertex;
    hand.keys = {{"Lit", "0"}};
    AddHandStrip(hand.mesh, stations, alongX, lift);
    // Local y points out of the dial toward the room, local z to 12 o'clock; local x is then
    // 3 o'clock, so growing angles turn the hands clockwise as the room sees them.
    hand.nodeTM = Frame(kDialCentre - Vec3{towardRoom, 0, 0}, {-1, 0, 0}, {0, 1, 0});
    return hand;
}

}  // namespace

SceneObject HourHand() {
    return Hand(manifest::kHourHandNode,
                {{-2.8f, 1.0f}, {-1.0f, 1.2f}, {2.0f, 0.9f}, {4.8f, 0.8f}, {5.6f, 2.2f}, {6.5f, 2.8f}, {7.4f, 2.0f},
                 {7.9f, 0.7f}, {8.6f, 0.9f}, {9.8f, 0.0f}},
                false, 0.2f, 0.1f);
}

SceneObject MinuteHand() {
    return Hand(manifest::kMinuteHandNode,
                {{-3.5f, 0.9f}, {-1.0f, 1.0f}, {3.0f, 0.7f}, {8.0f, 0.6f}, {9.0f, 1.5f}, {9.8f, 0.6f},
                 {12.5f, 0.45f}, {13.8f, 0.0f}},
                true, 0.5f, 0.1f);
}

SceneObject Pendulum() {
    SceneObject pendulum;
    pendulum.name = "Pendulum";
    pendulum.material = "Pendulum brass";
    pendulum.lighting = Lighting::kVertex;
    pendulum.keys = {{"Lit", "0"}};
    const float length = 84;
    AddBox(pendulum.mesh, {-0.3f, -length, -0.6f}, {0.3f, 0, 0.6f}, 20);
    AddBox(pendulum.mesh, {-0.6f, -4, -1.2f}, {0.6f, 1.5f, 1.2f}, 20);
    // The rod samples a plain corner of the bob's texture.
    for (MeshVertex& v : pendulum.mesh.vertices) v.uv = {0.04f + 0.02f * v.uv.x, 0.04f + 0.001f * v.uv.y};
    const size_t bobFrom = pendulum.mesh.vertices.size();
    const float bob = 9;
    AddLathe(pendulum.mesh,
             {{0, -1.6f}, {4, -1.4f}, {7, -0.9f}, {8.7f, -0.35f}, {bob, 0}, {8.7f, 0.35f}, {7, 0.9f}, {4, 1.4f},
              {0, 1.6f}},
             64, Frame({0, -length, 0}, {-1, 0, 0}, {0, 1, 0}), 1, 6);
    // Mapped flat across the face, as seen from the room: a lathe's own mapping pinches at the centre.
    for (size_t i = bobFrom; i < pendulum.mesh.vertices.size(); ++i) {
        MeshVertex& v = pendulum.mesh.vertices[i];
        v.uv = {(bob - v.position.z) / (2 * bob), (-length + bob - v.position.y) / (2 * bob)};
    }
    pendulum.nodeTM = math::Translation(kClockBack - 14, 142, 0);
    // A swing of 5 degrees each way with a two-second period (one tick per second): keys every
    // quarter second are close enough for the curve to stay a sine.
    const float amplitude = 5.0f * kPi / 180;
    const int keys = static_cast<int>(kAnimationSeconds * 4);
    for (int k = 0; k <= keys; ++k) {
        const float t = static_cast<float>(k) / 4;
        const math::Quat q = math::QuatRotationAxis({1, 0, 0}, amplitude * std::sin(kPi * t));
        pendulum.rotationKeys.push_back({t, {q.x, q.y, q.z, q.w}});
    }
    return pendulum;
}

SceneObject Weight(float z) {
    SceneObject weight;
    weight.name = z < 0 ? "Weight 1" : "Weight 2";
    weight.material = "Brass";
    const float top = z < 0 ? 122 : 112;  // one weight has run down further than the other
    std::vector<Vec2> profile = {{0, 0}, {2.6f, 0.4f}, {3.2f, 1.2f}, {3.2f, 25}, {2.6f, 25.8f}, {0.8f, 26.4f},
                                 {0.8f, 28}, {0, 28.2f}};
    AddLathe(weight.mesh, profile, 40, math::Translation(kClockBack - 7, top - 28, z), 1, 10);
    AddBox(weight.mesh, {kClockBack - 7.3f, top, z - 0.3f}, {kClockBack - 6.7f, 137, z + 0.3f}, 10);
    return weight;
}

}  // namespace room
