#include "scene/BufferCache.h"

#include "scene/MeshData.h"
#include "scene/RenderDevice.h"
#include "scene/SceneKeys.h"

using namespace gfx;

void DescribeMeshBuffers(const MeshData& mesh, bool skinned, const char* usageWords, bool align32,
                         BufferDescriptor& vertices, BufferDescriptor& indices) {
    vertices = {};
    vertices.kind = BufferDescriptor::kVertex;
    vertices.fvf = mesh.fvf;
    vertices.stride = mesh.stride;
    vertices.pool = skinned ? D3DPOOL_SYSTEMMEM : D3DPOOL_DEFAULT;
    vertices.given = BufferDescriptor::kGivenPool;

    indices = {};
    indices.kind = BufferDescriptor::kIndex;
    indices.pool = D3DPOOL_DEFAULT;
    indices.given = BufferDescriptor::kGivenPool;
    // Sixteen bits serve up to 32767 indices, unless a vertex lies beyond their reach.
    const bool wide = mesh.numIndexes > 0x7fff || mesh.numVerts > 0x10000;
    indices.indexFormat = wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    indices.size = mesh.numIndexes * (wide ? 4 : 2);

    if (!usageWords) {
        vertices.usage = skinned ? D3DUSAGE_DYNAMIC : D3DUSAGE_WRITEONLY;
        indices.usage = D3DUSAGE_WRITEONLY;
    } else {
        uint32_t both = 0;
        if (HasWord(usageWords, "static")) both = D3DUSAGE_WRITEONLY;
        else if (HasWord(usageWords, "dynamic")) both = D3DUSAGE_DYNAMIC;
        else if (HasWord(usageWords, "dynamic_writeonly")) both = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;
        vertices.usage = indices.usage = both;
        if (HasWord(usageWords, "vb_writeonly")) vertices.usage |= D3DUSAGE_WRITEONLY;
        if (HasWord(usageWords, "ib_writeonly")) indices.usage |= D3DUSAGE_WRITEONLY;
        if (HasWord(usageWords, "vb_dynamic")) vertices.usage |= D3DUSAGE_DYNAMIC;
        if (HasWord(usageWords, "ib_dynamic")) indices.usage |= D3DUSAGE_DYNAMIC;
    }
    vertices.given |= BufferDescriptor::kGivenUsage;
    indices.given |= BufferDescriptor::kGivenUsage;

    if (align32) vertices.stride = (vertices.stride + 31) / 32 * 32;
    vertices.size = vertices.stride * mesh.numVerts;
}

BufferRange* BufferCache::acquire(const MeshData& mesh, const BufferDescriptor& descriptor, bool& made) {
    made = false;
    for (const auto& range : ranges_)
        if (range->mesh == &mesh && range->descriptor == descriptor) return range.get();
    auto range = std::make_unique<BufferRange>();
    range->mesh = &mesh;
    range->descriptor = descriptor;
    range->size = descriptor.size;
    if (!create(*range)) return nullptr;
    made = true;
    ranges_.push_back(std::move(range));
    return ranges_.back().get();
}

bool BufferCache::create(BufferRange& range) {
    Device* device = CurrentDevice();
    const BufferDescriptor& d = range.descriptor;
    if (!device || d.size == 0) return false;
    const D3DPOOL pool = (d.given & BufferDescriptor::kGivenPool) ? d.pool : D3DPOOL_DEFAULT;
    const uint32_t usage = (d.given & BufferDescriptor::kGivenUsage) ? d.usage : 0;
    if (d.kind == BufferDescriptor::kVertex)
        return SUCCEEDED(device->CreateVertexBuffer(d.size, usage, d.fvf, pool, range.vertexBuffer));
    return SUCCEEDED(device->CreateIndexBuffer(d.size, usage, d.indexFormat, pool, range.indexBuffer));
}

void BufferCache::releaseAll() {
    for (const auto& range : ranges_) {
        range->vertexBuffer.Reset();
        range->indexBuffer.Reset();
    }
}

bool BufferCache::recreateAll() {
    bool ok = true;
    for (const auto& range : ranges_)
        if (range->isLost()) ok = create(*range) && ok;
    return ok;
}
