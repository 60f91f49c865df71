// What the window shows, far to near: the landscape, the sky with the hills (drawn on its own
// before the room, lit up by the flashes), low clouds drifting past, and rain on the panes in two
// layers, drops creeping and trickles running. What moves slides by whole tiles of its texture in
// each lap of the animation loop, so the loop has no seam; its quad is one tile longer than the
// part it must cover, and the wall hides the rest.
#include <vector>

#include "ClockParts.h"
#include "Model.h"
#include "RoomLayout.h"
#include "Shapes.h"
#include "media/Manifest.h"

namespace room {

namespace {

constexpr float kRainTile = 50;    // centimetres one rain texture covers each way
constexpr int kDropLaps = 1;       // tiles the drops creep down per loop: under 1 cm a second
constexpr int kTrickleLaps = 12;   // and the trickles run: 10 cm a second
constexpr float kCloudTile = 240;  // width one cloud texture covers; one tile per loop, 4 cm a second
// A slide ends this long before the next begins: a frame falls into the jump back once an hour.
constexpr float kJumpSeconds = 0.0001f;

// Straight slides by `offset`, each followed at once by the jump back, where the texture looks
// the same again.
std::vector<AnimationKey> Slides(Vec3 offset, int laps) {
    std::vector<AnimationKey> keys;
    const float lap = kAnimationSeconds / static_cast<float>(laps);
    for (int i = 0; i < laps; ++i) {
        const float start = lap * static_cast<float>(i);
        const float end = i + 1 < laps ? start + lap - kJumpSeconds : kAnimationSeconds;
        keys.push_back({start, {0, 0, 0, 0}});
        keys.push_back({end, {offset.x, offset.y, offset.z, 0}});
    }
    return keys;
}

// Drawn as painted, blended by the texture's alpha, outside the light bake.
SceneObject SeeThrough(const char* name, const char* material) {
    SceneObject o = Object(name, material, Lighting::kNone);
    o.castsShadow = false;
    o.keys = {{"AlphaUse", "texture"}, {"Lit", "0"}};
    return o;
}

// A layer of rain on the glass, `laps` tiles down per loop.
SceneObject Rain(const char* name, const char* material, float x, int laps) {
    SceneObject rain = SeeThrough(name, material);
    const float z0 = kWindowMin.z, z1 = kWindowMax.z, bottom = kDadoHeight, top = kWindowTop + kRainTile;
    AddQuad(rain.mesh, {x, top, z1}, {0, 0, z0 - z1}, {0, bottom - top, 0}, {-1, 0, 0}, {0, 0},
            {(z1 - z0) / kRainTile, (top - bottom) / kRainTile});
    rain.positionKeys = Slides({0, -kRainTile, 0}, laps);
    rain.linearKeys = true;
    return rain;
}

// The country outside, far enough behind the window for every view through it. The device
// lights it with the ambient colour, which the application raises during a flash.
SceneObject Landscape() {
    SceneObject landscape = Object(manifest::kOutdoorNode, "Landscape", Lighting::kNone);
    landscape.castsShadow = false;
    landscape.keys = {{"Lit", "1"}};
    const math::Vec3 picture = kLandscapeMax - kLandscapeMin;
    const auto uv = [&](float y, float z) { return Vec2{(kLandscapeMax.z - z) / picture.z, (kLandscapeMax.y - y) / picture.y}; };
    AddQuad(landscape.mesh, {kOutdoorX, kOutdoorMax.y, kOutdoorMax.z}, {0, 0, kOutdoorMin.z - kOutdoorMax.z},
            {0, kOutdoorMin.y - kOutdoorMax.y, 0}, {-1, 0, 0}, uv(kOutdoorMax.y, kOutdoorMax.z),
            uv(kOutdoorMin.y, kOutdoorMin.z));
    return landscape;
}

// Ragged clouds below the storm's ceiling, blown toward the right of the window.
SceneObject Clouds() {
    SceneObject clouds = SeeThrough("Window clouds", "Clouds");
    const float z0 = kOutdoorMin.z, z1 = kOutdoorMax.z + kCloudTile;
    AddQuad(clouds.mesh, {kCloudsX, kCloudsTop, z1}, {0, 0, z0 - z1}, {0, kCloudsBottom - kCloudsTop, 0},
            {-1, 0, 0}, {0, 0}, {(z1 - z0) / kCloudTile, 1});
    clouds.positionKeys = Slides({0, 0, -kCloudTile}, 1);
    clouds.linearKeys = true;
    return clouds;
}

}  // namespace

void BuildWindowView(RoomModel& model) {
    model.objects.push_back(Rain("Window panes", "Rain", kWindowGlassX - 0.2f, kDropLaps));
    model.objects.push_back(Rain("Window rain", "Rain trickles", kWindowGlassX - 0.4f, kTrickleLaps));
    model.objects.push_back(Landscape());
    model.objects.push_back(Clouds());
}

}  // namespace room
