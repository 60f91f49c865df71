#pragma once
// Vertex and index buffers of the scene's meshes. Each mesh keeps the buffers made for it; a
// request whose full descriptor equals one already made shares it. Buffers can all be released
// before a device reset and made again (and refilled) after it, or on a device made anew.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"

struct MeshData;

struct BufferDescriptor {
    enum Kind : uint32_t { kVertex = 1, kIndex = 2 };
    // Bits of `given`: fields that were set; the others take their default when the buffer is
    // made.
    enum Given : uint32_t { kGivenPool = 1, kGivenUsage = 2 };

    uint32_t kind = kVertex;
    uint32_t fvf = 0;
    uint32_t stride = 0;
    gfx::D3DFORMAT indexFormat = gfx::D3DFMT_UNKNOWN;
    gfx::D3DPOOL pool = gfx::D3DPOOL_DEFAULT;
    uint32_t size = 0;
    uint32_t usage = 0;
    uint32_t given = 0;

    bool isDynamic() const { return (usage & gfx::D3DUSAGE_DYNAMIC) != 0; }
    friend bool operator==(const BufferDescriptor&, const BufferDescriptor&) = default;
};

// A range of a device buffer holding the data of one mesh.
struct BufferRange {
    const MeshData* mesh = nullptr;
    BufferDescriptor descriptor;
    gfx::Ref<gfx::VertexBuffer> vertexBuffer;  // for a vertex range
    gfx::Ref<gfx::IndexBuffer> indexBuffer;    // for an index range
    uint32_t offset = 0;
    uint32_t size = 0;

    bool isLost() const { return !vertexBuffer && !indexBuffer; }
};

class BufferCache {
public:
    // The range for `mesh` with `descriptor`: shared when made already, else made on the current
    // device. Null when the device cannot make it. `made` says whether it is new (to be filled).
    BufferRange* acquire(const MeshData& mesh, const BufferDescriptor& descriptor, bool& made);
    // Releases every device buffer; the ranges stay and report themselves lost.
    void releaseAll();
    // Makes every released buffer again on the current device; false when one could not be made.
    bool recreateAll();
    const std::vector<std::unique_ptr<BufferRange>>& ranges() const { return ranges_; }

private:
    static bool create(BufferRange& range);

    std::vector<std::unique_ptr<BufferRange>> ranges_;
};

// The descriptors a mesh's buffers get: from its data, whether it is skinned, its "Usage" words
// (null when the key is absent) and "VertexAlign32".
void DescribeMeshBuffers(const MeshData& mesh, bool skinned, const char* usageWords, bool align32,
                         BufferDescriptor& vertices, BufferDescriptor& indices);
