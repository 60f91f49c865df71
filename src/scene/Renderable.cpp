#include "scene/Renderable.h"

#include <algorithm>

#include "platform/gfx/States.h"
#include "scene/DeviceStateCache.h"

BoundingBox TransformBox(const BoundingBox& box, const math::Mat4& m) {
    BoundingBox out;
    for (int corner = 0; corner < 8; ++corner) {
        const math::Vec3 p{(corner & 1) ? box.max.x : box.min.x, (corner & 2) ? box.max.y : box.min.y,
                           (corner & 4) ? box.max.z : box.min.z};
        const math::Vec3 q = math::TransformCoord(p, m);
        if (corner == 0) {
            out.min = out.max = q;
            continue;
        }
        out.min = {std::min(out.min.x, q.x), std::min(out.min.y, q.y), std::min(out.min.z, q.z)};
        out.max = {std::max(out.max.x, q.x), std::max(out.max.y, q.y), std::max(out.max.z, q.z)};
    }
    return out;
}

bool Renderable::isLitMesh() const { return states_.lit != 0 && (getFvf() & gfx::D3DFVF_NORMAL) != 0; }

bool Renderable::applyStates() {
    const bool ok = ApplyStateBlock(states_, getFvf());
    statesApplied_ = true;
    return ok;
}

bool Renderable::setTransforms() const {
    DeviceStateCache& cache = DeviceStateCache::Get();
    bool ok = true;
    if (transformMask_ & kSetWorld) ok = cache.setTransform(gfx::D3DTS_WORLD, worldMatrix_.m) && ok;
    if (transformMask_ & kSetView) ok = cache.setTransform(gfx::D3DTS_VIEW, viewMatrix_.m) && ok;
    if (transformMask_ & kSetProjection) ok = cache.setTransform(gfx::D3DTS_PROJECTION, projectionMatrix_.m) && ok;
    return ok;
}
