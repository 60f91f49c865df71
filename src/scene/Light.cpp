#include "scene/Light.h"

#include <cmath>

using math::Vec3;

namespace {

Vec3 ToVec(const gfx::D3DVECTOR& v) { return {v.x, v.y, v.z}; }

bool SphereTouchesBox(Vec3 centre, float radius, const BoundingBox& box) {
    auto gap = [](float c, float lo, float hi) { return c < lo ? lo - c : (c > hi ? c - hi : 0.0f); };
    const float dx = gap(centre.x, box.min.x, box.max.x);
    const float dy = gap(centre.y, box.min.y, box.max.y);
    const float dz = gap(centre.z, box.min.z, box.max.z);
    return dx * dx + dy * dy + dz * dz <= radius * radius;
}

}  // namespace

bool Light::reaches(const BoundingBox& box) const {
    const Vec3 position = ToVec(light.Position);
    switch (light.Type) {
        case gfx::D3DLIGHT_DIRECTIONAL:
            return true;
        case gfx::D3DLIGHT_POINT:
            return light.Range > 0.001f && SphereTouchesBox(position, light.Range, box);
        case gfx::D3DLIGHT_SPOT: {
            const Vec3 direction = ToVec(light.Direction);
            const float length = math::Length(direction);
            if (!(light.Range > 0.001f) || !(length > 0.00001f)) return false;
            // The lit region is the part of the range sphere inside the cone of half-angle
            // phi / 2; up to a half-angle of 60 degrees a sphere through the apex and the rim
            // of that region bounds it more tightly than the range sphere does.
            const float half = light.Phi * 0.5f;
            if (half >= 0.0f && half < 1.0471976f) {
                const float radius = light.Range / (2.0f * std::cos(half));
                return SphereTouchesBox(position + direction * (radius / length), radius, box);
            }
            return SphereTouchesBox(position, light.Range, box);
        }
        default:
            return false;
    }
}
