#include "scene/MeshRenderable.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/Fvf.h"
#include "platform/gfx/States.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "scene/SceneNode.h"

using namespace gfx;

namespace {

uint32_t PrimitiveCount(D3DPRIMITIVETYPE type, uint32_t elements) {
    switch (type) {
        case D3DPT_POINTLIST:
            return elements;
        case D3DPT_LINELIST:
            return elements / 2;
        case D3DPT_LINESTRIP:
            return elements > 1 ? elements - 1 : 0;
        case D3DPT_TRIANGLELIST:
            return elements / 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return elements > 2 ? elements - 2 : 0;
        default:
            return 0;
    }
}

uint32_t IndexBytes(const BufferRange& range) { return range.descriptor.indexFormat == D3DFMT_INDEX16 ? 2 : 4; }

void WritePosition(uint8_t* vertex, math::Vec3 p) {
    const float xyz[3] = {p.x, p.y, p.z};
    std::memcpy(vertex, xyz, sizeof(xyz));
}

}  // namespace

MeshRenderable::MeshRenderable(const MeshData& mesh, const StateBlock& states, BufferRange* vertices,
                               BufferRange* indices)
    : mesh_(mesh), vertices_(vertices), indices_(indices) {
    states_ = states;
}

void MeshRenderable::updateBounds() { bounds_ = TransformBox(mesh_.box, worldMatrix_.m); }

bool MeshRenderable::draw() {
    if (hidden_) return true;
    return drawBuffers();
}

uint32_t MeshRenderable::primitiveCount() const {
    if (indices_) return PrimitiveCount(primitiveType_, indices_->size / IndexBytes(*indices_));
    const uint32_t stride = vertices_ ? vertices_->descriptor.stride : 0;
    return stride ? PrimitiveCount(primitiveType_, vertices_->size / stride) : 0;
}

bool MeshRenderable::drawBuffers() {
    Device* device = CurrentDevice();
    if (!device || !vertices_ || !vertices_->vertexBuffer || (indices_ && !indices_->indexBuffer)) return false;
    const uint32_t stride = vertices_->descriptor.stride;
    if (stride == 0) return false;

    bool ok = applyStates();
    DeviceStateCache& cache = DeviceStateCache::Get();
    if (DescribeFvf(mesh_.fvf).pretransformed) {
        uint32_t fog = 0;
        if (cache.getRenderState(D3DRS_FOGENABLE, fog) && fog) ok = cache.setRenderState(D3DRS_FOGENABLE, 0) && ok;
    }
    ok = setTransforms() && ok;
    // A run of meshes of one format sets it once; the device's own value is asked for, as
    // other drawing code sets formats directly.
    uint32_t currentFvf = 0;
    if (FAILED(device->GetFVF(&currentFvf)) || currentFvf != vertices_->descriptor.fvf)
        ok = SUCCEEDED(device->SetFVF(vertices_->descriptor.fvf)) && ok;
    ok = SUCCEEDED(device->SetStreamSource(0, vertices_->vertexBuffer.get(), 0, stride)) && ok;
    const uint32_t count = primitiveCount();
    if (count == 0) return ok;
    if (indices_) {
        const uint32_t indexBytes = IndexBytes(*indices_);
        ok = SUCCEEDED(device->SetIndices(indices_->indexBuffer.get())) && ok;
        return SUCCEEDED(device->DrawIndexedPrimitive(primitiveType_, 0, 0, vertices_->size / stride,
                                                      indices_->offset / indexBytes, count)) &&
               ok;
    }
    return SUCCEEDED(device->DrawPrimitive(primitiveType_, vertices_->offset / stride, count)) && ok;
}

SkinnedRenderable::SkinnedRenderable(const MeshData& mesh, std::unique_ptr<SkinData> skin, const StateBlock& states,
                                     BufferRange* vertices, BufferRange* indices)
    : MeshRenderable(mesh, states, vertices, indices), skin_(std::move(skin)) {
    for (uint32_t v = 0; v < mesh.numVerts && v < skin_->vertBoneNums.size(); ++v)
        if (skin_->vertBoneNums[v] == 0) hasUnweightedVertex_ = true;
}

bool SkinnedRenderable::bindBones(SceneNode& root) {
    bones_.clear();
    for (const EngineString& name : skin_->boneNames) {
        SceneNode* bone = root.find(name);
        if (!bone) {
            bones_.clear();
            return false;
        }
        bones_.push_back(&bone->getSkinMatrix());
    }
    boneMatrices_.resize(bones_.size());
    return true;
}

void SkinnedRenderable::updateBounds() {
    if (bones_.empty()) {
        MeshRenderable::updateBounds();
        return;
    }
    bool first = true;
    auto include = [&](const BoundingBox& b) {
        if (first) {
            bounds_ = b;
            first = false;
            return;
        }
        bounds_.min = {std::min(bounds_.min.x, b.min.x), std::min(bounds_.min.y, b.min.y), std::min(bounds_.min.z, b.min.z)};
        bounds_.max = {std::max(bounds_.max.x, b.max.x), std::max(bounds_.max.y, b.max.y), std::max(bounds_.max.z, b.max.z)};
    };
    for (const Matrix* bone : bones_) include(TransformBox(mesh_.box, (worldMatrix_ * *bone).m));
    if (hasUnweightedVertex_) include({});
}

bool SkinnedRenderable::update() {
    if (bones_.empty()) return false;
    for (size_t b = 0; b < bones_.size(); ++b) boneMatrices_[b] = worldMatrix_ * *bones_[b];
    worldMatrix_.SetIdentity();

    if (!vertices_ || !vertices_->vertexBuffer) return false;
    void* locked = nullptr;
    if (FAILED(vertices_->vertexBuffer->Lock(vertices_->offset, vertices_->size, &locked, 0)) || !locked) return false;
    auto* out = static_cast<uint8_t*>(locked);
    const uint32_t outStride = vertices_->descriptor.stride;
    const BoneInfluence* record = skin_->boneWeights.data();
    for (uint32_t v = 0; v < mesh_.numVerts; ++v) {
        const math::Vec3 source = mesh_.position(v);
        math::Vec3 acc;
        for (int32_t k = 0; k < skin_->vertBoneNums[v]; ++k, ++record)
            acc += math::TransformCoord(source, boneMatrices_[static_cast<size_t>(record->bone)].m) * record->weight;
        WritePosition(out + size_t{v} * outStride, acc);
    }
    return SUCCEEDED(vertices_->vertexBuffer->Unlock());
}

bool SkinnedRenderable::draw() {
    if (hidden_) return true;
    const bool skinned = update();
    return drawBuffers() && skinned;
}
