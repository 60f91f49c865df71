#include "scene/RenderSorter.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/gfx/States.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "scene/SceneNode.h"

RenderSorter::RenderSorter(const RenderCamera& camera) { reset(camera); }

void RenderSorter::reset(const RenderCamera& newCamera) {
    camera = newCamera;
    currentWorld.SetIdentity();
    currentBind.SetIdentity();
    opaqueOrder_.clear();
    transparent_.clear();
    ++pass_;
}

void RenderSorter::add(Renderable& renderable) {
    const StateBlock& block = renderable.getStateBlock();
    if (block.usesAlpha()) {
        float distance = math::Length(renderable.getBounds().min - camera.getEye());
        // A box from a damaged file must not break the ordering.
        if (std::isnan(distance)) distance = FLT_MAX;
        transparent_.push_back({distance, static_cast<uint32_t>(transparent_.size()), &renderable});
        return;
    }
    OpaqueBucket& bucket = opaque_[block.stages[0].texture];
    if (bucket.pass != pass_) {
        bucket.pass = pass_;
        bucket.list.clear();
        opaqueOrder_.push_back(&bucket);
    }
    bucket.list.push_back(&renderable);
}

void RenderSorter::enableLight(uint32_t index, bool enable) {
    const int8_t wanted = enable ? 1 : 0;
    if (lightEnabled_[index] == wanted) return;
    lightEnabled_[index] = wanted;
    if (gfx::Device* device = CurrentDevice()) device->LightEnable(index, enable);
}

void RenderSorter::selectLights(const Renderable& renderable) {
    if (!lights_ || !renderable.isLitMesh()) return;
    for (uint32_t i = 0; i < lights_->size(); ++i) enableLight(i, (*lights_)[i]->reaches(renderable.getBounds()));
}

bool RenderSorter::drawOne(Renderable& renderable) {
    selectLights(renderable);
    return renderable.draw();
}

RenderSorter::Result RenderSorter::flush() {
    Result result;
    gfx::Device* device = CurrentDevice();
    const size_t lightCount = lights_ ? lights_->size() : 0;
    lightEnabled_.assign(lightCount, -1);
    for (uint32_t i = 0; i < lightCount; ++i)
        if (device) result.ok = gfx::SUCCEEDED(device->SetLight(i, &(*lights_)[i]->light)) && result.ok;

    DeviceStateCache& cache = DeviceStateCache::Get();
    result.ok = cache.setTransform(gfx::D3DTS_VIEW, camera.getView().m) && result.ok;
    result.ok = cache.setTransform(gfx::D3DTS_PROJECTION, camera.getProjection().m) && result.ok;

    for (OpaqueBucket* bucket : opaqueOrder_)
        for (Renderable* renderable : bucket->list) result.ok = drawOne(*renderable) && result.ok;

    // Transparent buckets are drawn strictly from the farthest to the nearest, so every blended
    // surface lies over what is behind it; a bucket (equal distances) keeps the order added.
    std::sort(transparent_.begin(), transparent_.end(), [](const TransparentEntry& a, const TransparentEntry& b) {
        return a.distance < b.distance || (a.distance == b.distance && a.order < b.order);
    });
    size_t end = transparent_.size();
    while (end > 0) {
        size_t begin = end - 1;
        while (begin > 0 && transparent_[begin - 1].distance == transparent_[end - 1].distance) --begin;
        for (size_t i = begin; i < end; ++i) result.ok = drawOne(*transparent_[i].renderable) && result.ok;
        end = begin;
    }

    for (uint32_t i = 0; i < lightCount; ++i) enableLight(i, false);
    opaqueOrder_.clear();
    transparent_.clear();
    ++pass_;
    return result;
}

ScenePassResult RunScenePass(SceneNode& root, RenderSorter& sorter) {
    ScenePassResult result;
    sorter.sorter = &sorter;
    sorter.view = (sorter.flags & RenderContext::kSkipVisibility) ? nullptr : &sorter.camera;
    result.traversed = root.render(sorter);
    sorter.sorter = nullptr;
    sorter.view = nullptr;
    result.flushed = sorter.flush();
    return result;
}
