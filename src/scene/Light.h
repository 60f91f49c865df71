#pragma once
// A scene light: a Direct3D light record with a name, and whether it can reach a box.

#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "platform/gfx/Types.h"
#include "scene/Renderable.h"

struct Light {
    EngineString name;
    gfx::D3DLIGHT9 light;

    // Whether the light can reach any point of `box`. Directional lights reach everything; point
    // lights reach the sphere of their range; spot lights a sphere around their cone. A range of
    // 0 reaches nothing, as it lights nothing on the device.
    bool reaches(const BoundingBox& box) const;
};

using LightList = std::vector<std::unique_ptr<Light>>;
