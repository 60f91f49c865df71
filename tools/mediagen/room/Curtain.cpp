// The velvet curtain gathered beside the window: a pleated sheet hanging from a brass rail,
// skinned to a chain of bones that sway slowly in the draught from the window.
#include <algorithm>
#include <cmath>
#include <string>

#include "ClockParts.h"
#include "Model.h"
#include "RoomLayout.h"
#include "Shapes.h"
#include "media/Manifest.h"

namespace room {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kBones = 10;
constexpr float kTop = 246, kBottom = 8;
constexpr float kZ0 = -198, kZ1 = -150;  // gathered between the corner and the window's edge
constexpr float kFront = 187;            // clear of the sill
constexpr float kPleat = 9;              // width of one fold
constexpr float kWaveSeconds = 12;       // one slow sway of the cloth

float FoldDepth(float z, float y) {
    const float flare = (kTop - y) / (kTop - kBottom);  // folds open out toward the hem
    return (2.0f + 2.5f * flare) * (0.5f + 0.5f * std::sin(2 * kPi * (z - kZ0) / kPleat));
}

}  // namespace

void BuildCurtain(RoomModel& model) {
    SceneObject rail;
    rail.name = "Curtain rail";
    rail.material = "Brass";
    AddLathe(rail.mesh, {{0.01f, -1}, {2.2f, -0.5f}, {2.2f, 0}, {1.1f, 1}, {1.1f, 134}, {2.2f, 135}, {2.2f, 135.5f},
                         {0.01f, 136}},
             24, Frame({kFront + 1, kTop + 2.5f, -199}, {0, 0, 1}, {1, 0, 0}), 1, 30);
    model.objects.push_back(std::move(rail));

    SceneObject curtain;
    curtain.name = manifest::kCurtainNode;
    curtain.material = "Velvet";
    curtain.lighting = Lighting::kVertex;
    curtain.keys = {{"Lit", "0"}};
    const int columns = 97, rows = 61;
    curtain.mesh.AddPatch(columns, rows, [&](int i, int j) {
        const float z = kZ0 + (kZ1 - kZ0) * static_cast<float>(i) / (columns - 1);
        const float y = kTop - (kTop - kBottom) * static_cast<float>(j) / (rows - 1);
        const float flare = (kTop - y) / (kTop - kBottom);
        const float slope = (2.0f + 2.5f * flare) * 0.5f * std::cos(2 * kPi * (z - kZ0) / kPleat) * 2 * kPi / kPleat;
        return GridPoint{{kFront - FoldDepth(z, y), y, z}, {-1, 0, -slope}, {(z - kZ0) / kPleat, (kTop - y) / 60}};
    });

    // One chain of bones down the curtain; each vertex follows the two bones nearest its height.
    const float step = (kTop - kBottom) / kBones;
    Skin& skin = curtain.skin;
    for (int b = 0; b < kBones; ++b) skin.boneNames.push_back("Curtain bone " + std::to_string(b + 1));
    for (const MeshVertex& v : curtain.mesh.vertices) {
        const float t = std::clamp((kTop - v.position.y) / step, 0.0f, static_cast<float>(kBones - 1));
        const int k = std::min(static_cast<int>(t), kBones - 2);
        const float f = t - static_cast<float>(k);
        skin.firstInfluence.push_back(static_cast<int32_t>(skin.influences.size()));
        skin.influenceCount.push_back(2);
        skin.influences.push_back({k, 1 - f});
        skin.influences.push_back({k + 1, f});
    }

    // Each bone turns a fraction of a degree about z (toward the room and back) and about x,
    // a little later than the one above it, so a slow wave runs down the cloth.
    SceneObject* parent = &curtain;
    for (int b = 0; b < kBones; ++b) {
        SceneObject bone;
        bone.name = skin.boneNames[static_cast<size_t>(b)];
        bone.type = "bone";
        bone.lighting = Lighting::kNone;
        bone.nodeTM = b == 0 ? math::Translation(kFront, kTop, (kZ0 + kZ1) / 2) : math::Translation(0, -step, 0);
        const float swing = (0.25f + 0.05f * static_cast<float>(b)) * kPi / 180;
        const int keys = static_cast<int>(kAnimationSeconds / kWaveSeconds) * 24;
        for (int k = 0; k <= keys; ++k) {
            const float time = kAnimationSeconds * static_cast<float>(k) / static_cast<float>(keys);
            const float phase = 2 * kPi * time / kWaveSeconds - 0.45f * static_cast<float>(b);
            const math::Quat qz = math::QuatRotationAxis({0, 0, 1}, swing * std::sin(phase));
            const math::Quat qx = math::QuatRotationAxis({1, 0, 0}, 0.4f * swing * std::sin(3 * phase + 1.3f));
            const math::Quat q = math::QuatMultiply(qx, qz);
            bone.rotationKeys.push_back({time, {q.x, q.y, q.z, q.w}});
        }
        parent->children.push_back(std::move(bone));
        parent = &parent->children.back();
    }
    model.objects.push_back(std::move(curtain));
}

}  // namespace room
