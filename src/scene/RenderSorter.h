#pragma once
// Collects the visible renderables of a pass and draws them in a good order: opaque ones bucketed
// by their first texture (fewer texture switches), then transparent ones by distance from the
// eye, farthest first. Lights are set at the start of a flush, switched per renderable by reach
// and disabled at its end. A sorter is kept from pass to pass so its storage is reused and a
// steady frame allocates nothing.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "scene/Light.h"
#include "scene/RenderContext.h"
#include "scene/Renderable.h"

class SceneNode;
class Texture;

class RenderSorter : public RenderContext, public RenderQueue {
public:
    struct Result {
        // Cleared by a failed draw, and also when the device refuses a light or the camera's
        // matrices: the pass is then drawn wrongly, and calling it ok would hide that.
        bool ok = true;
    };

    explicit RenderSorter(const RenderCamera& camera = {});
    RenderSorter(const RenderSorter&) = delete;
    RenderSorter& operator=(const RenderSorter&) = delete;

    // Starts a new pass from `camera`: empty buckets, traversal state reset, storage kept.
    void reset(const RenderCamera& camera);
    void setLights(const LightList* lights) { lights_ = lights; }

    void add(Renderable& renderable) override;
    // Draws everything collected and empties the buckets.
    Result flush();

    size_t opaqueBucketCount() const { return opaqueOrder_.size(); }
    size_t transparentCount() const { return transparent_.size(); }

private:
    struct OpaqueBucket {
        std::vector<Renderable*> list;
        uint64_t pass = 0;  // the pass that last filled it
    };
    struct TransparentEntry {
        float distance;
        uint32_t order;  // keeps equal distances in the order added
        Renderable* renderable;
    };

    bool drawOne(Renderable& renderable);
    void selectLights(const Renderable& renderable);
    void enableLight(uint32_t index, bool enable);

    const LightList* lights_ = nullptr;
    std::unordered_map<const Texture*, OpaqueBucket> opaque_;
    std::vector<OpaqueBucket*> opaqueOrder_;  // buckets of this pass in insertion order
    std::vector<TransparentEntry> transparent_;
    std::vector<int8_t> lightEnabled_;  // during a flush: -1 unknown, 0 off, 1 on
    uint64_t pass_ = 1;
};

// The scene pass as the application runs it: the traversal of `root` into `sorter` (culled by its
// camera unless kSkipVisibility is set), then the flush.
struct ScenePassResult {
    bool traversed = true;  // every node's own render succeeded
    RenderSorter::Result flushed;
};
ScenePassResult RunScenePass(SceneNode& root, RenderSorter& sorter);
