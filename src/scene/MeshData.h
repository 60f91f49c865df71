#pragma once
// A mesh's vertices and indices as the scene file holds them, kept for the life of the scene so
// device buffers can be filled again after a reset, and the skinning data that binds vertices
// to named bones. Reading checks every count and size against the bytes: a mesh that does not
// fit is refused, never read out of bounds.

#include <cstdint>
#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "scene/Renderable.h"

class UdfNode;

// Bytes taken over from a value-tree leaf (the leaf itself, detached, so nothing is copied), or
// a copy when the leaf's bytes are not its own to give.
class MeshBytes {
public:
    MeshBytes() = default;
    MeshBytes(MeshBytes&&) noexcept;
    MeshBytes& operator=(MeshBytes&&) noexcept;
    ~MeshBytes();

    // Takes the child `name` of `parent`; false when it is missing or has no data.
    bool takeFrom(UdfNode& parent, const char* name);
    const uint8_t* data() const { return data_; }
    uint32_t size() const { return size_; }
    // Whether the leaf itself was taken over (no copy was made).
    bool tookOver() const { return leaf_ != nullptr; }

private:
    std::unique_ptr<UdfNode> leaf_;
    std::unique_ptr<uint8_t[]> copy_;
    const uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
};

struct MeshData {
    const uint8_t* vertices = nullptr;
    uint32_t numVerts = 0;
    uint32_t fvf = 0;
    uint32_t stride = 0;
    const uint8_t* indices = nullptr;
    uint32_t numIndexes = 0;
    uint32_t indexSize = 0;
    BoundingBox box;  // object space

    MeshBytes vertexBytes;
    MeshBytes indexBytes;

    // The box of the vertex positions (empty at the origin without vertices).
    void computeBounds();
    // The vertex's position (the first three floats).
    math::Vec3 position(uint32_t vertex) const;
    // Index `i` of the source array, whatever its size.
    uint32_t index(uint32_t i) const;
};

// One influence record as the file stores it.
struct BoneInfluence {
    int32_t bone = 0;
    float weight = 0;
};

struct SkinData {
    std::vector<int32_t> vertBoneOffs;
    std::vector<int32_t> vertBoneNums;
    std::vector<BoneInfluence> boneWeights;
    std::vector<EngineString> boneNames;
};

// Whether vertices of format `fvf` can be drawn and skinned: a 3-float position first, known
// element bits only.
bool IsUsableFvf(uint32_t fvf);

// Reads the needed mesh keys of `node`, taking over "Verts" and "Indexes". False when a needed
// key is missing or a check fails (sizes, index range, index size, vertex format); `out` is then
// not to be used. NumVerts 0 succeeds with no data.
bool ReadMeshData(UdfNode& node, MeshData& out);
// Reads the skinning keys when "BoneNames" is present: `hasSkin` tells whether it was. False
// when the keys are there but do not fit the mesh (counts, record ranges, bone indices).
bool ReadSkinData(const UdfNode& node, const MeshData& mesh, SkinData& out, bool& hasSkin);
