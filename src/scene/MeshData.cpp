#include "scene/MeshData.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "common/LittleEndian.h"
#include "platform/gfx/Fvf.h"
#include "platform/gfx/States.h"
#include "scene/SceneKeys.h"
#include "udf/UdfNode.h"

namespace {

// A leaf's bytes, or null when it is missing.
const UdfNode* DataLeaf(const UdfNode& node, const char* name) {
    const UdfNode* leaf = node.FindChild(name);
    return leaf && leaf->DataPresent() ? leaf : nullptr;
}

bool ReadCount(const UdfNode& node, const char* name, uint32_t& out) {
    int32_t value = 0;
    if (!ReadIntKey(node, name, value) || value < 0) return false;
    out = static_cast<uint32_t>(value);
    return true;
}

// Reads `count` 32-bit ints from an "int" leaf holding exactly that many.
bool ReadInts(const UdfNode& node, const char* name, uint32_t count, std::vector<int32_t>& out) {
    const UdfNode* leaf = DataLeaf(node, name);
    if (!leaf || uint64_t{leaf->Size()} != uint64_t{count} * 4 || (count > 0 && !leaf->Data())) return false;
    out.resize(count);
    for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<int32_t>(GetLe32(leaf->Data() + 4 * i));
    return true;
}

}  // namespace

MeshBytes::MeshBytes(MeshBytes&&) noexcept = default;
MeshBytes& MeshBytes::operator=(MeshBytes&&) noexcept = default;
MeshBytes::~MeshBytes() = default;

bool MeshBytes::takeFrom(UdfNode& parent, const char* name) {
    UdfNode* leaf = parent.FindChild(name);
    if (!leaf || !leaf->DataPresent()) return false;
    size_ = leaf->Data() ? leaf->Size() : 0;
    // Only bytes the leaf owns can change hands; a linked leaf or one pointing into other
    // memory is copied.
    const bool owns = !leaf->DataShared() && !leaf->DataExternal() && !parent.IsLinked(name);
    if (owns && parent.Detach(name) == leaf) {
        leaf_.reset(leaf);
        data_ = leaf->Data();
        return true;
    }
    if (size_ > 0) {
        copy_.reset(new uint8_t[size_]);
        std::memcpy(copy_.get(), leaf->Data(), size_);
    }
    data_ = copy_.get();
    return true;
}

void MeshData::computeBounds() {
    box = {};
    for (uint32_t v = 0; v < numVerts; ++v) {
        const math::Vec3 p = position(v);
        if (v == 0) {
            box.min = box.max = p;
            continue;
        }
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
    }
}

math::Vec3 MeshData::position(uint32_t vertex) const {
    const uint8_t* p = vertices + size_t{vertex} * stride;
    return {std::bit_cast<float>(GetLe32(p)), std::bit_cast<float>(GetLe32(p + 4)), std::bit_cast<float>(GetLe32(p + 8))};
}

uint32_t MeshData::index(uint32_t i) const {
    if (indexSize == 2) return uint32_t{indices[2 * i]} | uint32_t{indices[2 * i + 1]} << 8;
    return GetLe32(indices + size_t{i} * 4);
}

bool IsUsableFvf(uint32_t fvf) {
    using namespace gfx;
    constexpr uint32_t kKnownBits = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE |
                                    D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK | 0xFFFF0000u;
    if (fvf & ~kKnownBits) return false;
    if (((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) > 8) return false;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ:
        case D3DFVF_XYZRHW:
        case D3DFVF_XYZB1:
        case D3DFVF_XYZB2:
        case D3DFVF_XYZB3:
        case D3DFVF_XYZB4:
        case D3DFVF_XYZB5:
            return true;
        default:
            return false;
    }
}

bool ReadMeshData(UdfNode& node, MeshData& out) {
    int32_t fvf = 0;
    int32_t indexSize = 0;
    if (!ReadIntKey(node, "FVF", fvf) || !ReadIntKey(node, "IndexSize", indexSize) ||
        !ReadCount(node, "NumVerts", out.numVerts) || !ReadCount(node, "NumIndexes", out.numIndexes)) {
        return false;
    }
    out.fvf = static_cast<uint32_t>(fvf);
    out.indexSize = static_cast<uint32_t>(indexSize);
    if (out.numVerts == 0) return true;

    if (!IsUsableFvf(out.fvf) || (out.indexSize != 2 && out.indexSize != 4)) return false;
    out.stride = gfx::DescribeFvf(out.fvf).stride;
    const UdfNode* verts = DataLeaf(node, "Verts");
    const UdfNode* indexes = DataLeaf(node, "Indexes");
    if (!verts || !indexes) return false;
    if (uint64_t{verts->Size()} != uint64_t{out.numVerts} * out.stride || !verts->Data()) return false;
    if (uint64_t{indexes->Size()} != uint64_t{out.numIndexes} * out.indexSize) return false;

    if (!out.vertexBytes.takeFrom(node, "Verts") || !out.indexBytes.takeFrom(node, "Indexes")) return false;
    out.vertices = out.vertexBytes.data();
    out.indices = out.indexBytes.data();
    for (uint32_t i = 0; i < out.numIndexes; ++i)
        if (out.index(i) >= out.numVerts) return false;
    out.computeBounds();
    return true;
}

bool ReadSkinData(const UdfNode& node, const MeshData& mesh, SkinData& out, bool& hasSkin) {
    const UdfNode* names = node.FindChild("BoneNames");
    hasSkin = names != nullptr;
    if (!names) return true;
    for (uint32_t i = 0; i < names->ChildCount(); ++i) {
        EngineString name;
        if (!ReadStringKey(*names, std::to_string(i).c_str(), name)) return false;
        out.boneNames.push_back(std::move(name));
    }
    if (!ReadInts(node, "VertBoneOffs", mesh.numVerts, out.vertBoneOffs) ||
        !ReadInts(node, "VertBoneNums", mesh.numVerts, out.vertBoneNums)) {
        return false;
    }
    const UdfNode* weights = DataLeaf(node, "BoneWeights");
    if (!weights) return false;
    const uint32_t records = weights->Data() ? weights->Size() / 8 : 0;
    out.boneWeights.resize(records);
    for (uint32_t r = 0; r < records; ++r) {
        const uint8_t* p = weights->Data() + size_t{r} * 8;
        out.boneWeights[r] = {static_cast<int32_t>(GetLe32(p)), std::bit_cast<float>(GetLe32(p + 4))};
        if (out.boneWeights[r].bone < 0 || static_cast<size_t>(out.boneWeights[r].bone) >= out.boneNames.size())
            return false;
    }
    // Skinning walks the records with a running pointer, so all counts together must fit too.
    uint64_t total = 0;
    for (uint32_t v = 0; v < mesh.numVerts; ++v) {
        const int64_t first = out.vertBoneOffs[v];
        const int64_t count = out.vertBoneNums[v];
        if (first < 0 || count < 0 || first + count > records) return false;
        total += static_cast<uint64_t>(count);
    }
    return total <= records;
}
