#pragma once
// The state one render pass carries down the node tree.

#include "scene/Matrix.h"
#include "scene/RenderCamera.h"
#include "scene/Renderable.h"

#include <cstdint>

struct RenderContext {
    enum Flags : uint32_t {
        kExplicitTime = 1,    // evaluate every animation at `time`
        kSkipVisibility = 2,  // draw without testing the view
        kTransformsOnly = 4,  // update matrices, draw and collect nothing
    };

    uint32_t flags = 0;
    Matrix currentWorld;  // the parent's frame in world space
    Matrix currentBind;   // the parent's bind pose, for bone matrices
    float time = 0;       // seconds, with kExplicitTime
    RenderQueue* sorter = nullptr;         // null: draw at once
    const VisibilityTest* view = nullptr;  // null: nothing is culled (a pass points it at `camera`)
    RenderCamera camera;
};
