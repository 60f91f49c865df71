#pragma once
// The room's light at a surface point, traced against the room's geometry: the lamp as a warm
// area light (the shade's open rims and its glowing parchment), the window as a cool sky light,
// and ambient light scaled by occlusion. Values are light-map levels: 0.5 shows a texture as
// painted. Each point's samples come from its own seed, so results do not depend on the order or
// the thread in which points are asked for.

#include <cstdint>
#include <vector>

#include "Mesh.h"
#include "paint/Canvas.h"

struct RTCDeviceTy;
struct RTCSceneTy;

namespace room {

class LightTracer {
public:
    // `occluders`: world-space meshes that cast shadows.
    explicit LightTracer(const std::vector<const Mesh*>& occluders);
    ~LightTracer();
    LightTracer(const LightTracer&) = delete;
    LightTracer& operator=(const LightTracer&) = delete;

    paint::Rgb Light(Vec3 position, Vec3 normal, uint32_t seed) const;
    // The window's share of it: the night sky through the panes, a cool area light.
    paint::Rgb Sky(Vec3 position, Vec3 normal, uint32_t seed) const;
    // Distance to the first surface along a ray, or a negative value when nothing is hit.
    float Hit(Vec3 origin, Vec3 direction, float maxDistance, int* triangle = nullptr) const;

private:
    bool Visible(Vec3 from, Vec3 to) const;
    RTCDeviceTy* device_ = nullptr;
    RTCSceneTy* scene_ = nullptr;
};

}  // namespace room
