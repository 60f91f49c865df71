// Mesh nodes: their data, buffers and renderables.

#include <cstring>

#include "scene/Scene.h"
#include "scene/SceneKeys.h"
#include "udf/UdfNode.h"

bool Scene::loadMesh(UdfNode& udfNode, SceneNode& node) {
    StateBlock material = context_.meshDefault;
    EngineString materialName;
    if (ReadStringKey(udfNode, "MaterialName", materialName)) materials_.find(materialName, material);

    auto mesh = std::make_unique<MeshData>();
    if (!ReadMeshData(udfNode, *mesh)) return false;
    if (mesh->numVerts == 0) return true;
    auto skin = std::make_unique<SkinData>();
    bool hasSkin = false;
    if (!ReadSkinData(udfNode, *mesh, *skin, hasSkin)) return false;

    MeshData& data = *mesh;
    meshes_.emplace_back(node.getName(), std::move(mesh));
    return createMeshRenderable(udfNode, node, material, data, hasSkin ? std::move(skin) : nullptr);
}

BufferRange* Scene::takeRange(const MeshData& mesh, const BufferDescriptor& descriptor) {
    bool made = false;
    BufferRange* range = buffers_.acquire(mesh, descriptor, made);
    if (range && made && !fillBufferRange(*range)) return nullptr;
    return range;
}

bool Scene::createMeshRenderable(UdfNode& udfNode, SceneNode& node, const StateBlock& material, MeshData& meshData,
                                 std::unique_ptr<SkinData> skinData) {
    StateBlock block = material;
    readRenderKeys(udfNode, block);
    EngineString usage;
    const bool hasUsage = ReadStringKey(udfNode, "Usage", usage);
    BufferDescriptor vertexDescriptor;
    BufferDescriptor indexDescriptor;
    DescribeMeshBuffers(meshData, skinData != nullptr, hasUsage ? usage.c_str() : nullptr,
                        KeyIsOne(udfNode, "VertexAlign32"), vertexDescriptor, indexDescriptor);

    BufferRange* vertices = takeRange(meshData, vertexDescriptor);
    if (!vertices) return false;
    BufferRange* indices = nullptr;
    if (meshData.numIndexes > 0) {
        indices = takeRange(meshData, indexDescriptor);
        if (!indices) return false;
    }
    if (skinData) {
        auto skinned = std::make_unique<SkinnedRenderable>(meshData, std::move(skinData), block, vertices, indices);
        skinned_.push_back(skinned.get());
        node.setRenderable(std::move(skinned));
    } else {
        node.setRenderable(std::make_unique<MeshRenderable>(meshData, block, vertices, indices));
    }
    return true;
}

bool Scene::fillBufferRange(BufferRange& range) {
    const MeshData& mesh = *range.mesh;
    const BufferDescriptor& d = range.descriptor;
    gfx::Buffer* buffer = d.kind == BufferDescriptor::kVertex ? static_cast<gfx::Buffer*>(range.vertexBuffer.get())
                                                              : static_cast<gfx::Buffer*>(range.indexBuffer.get());
    if (!buffer) return false;
    void* locked = nullptr;
    const uint32_t flags = d.isDynamic() ? gfx::D3DLOCK_DISCARD : 0;
    if (gfx::FAILED(buffer->Lock(range.offset, range.size, &locked, flags)) || !locked) return false;
    auto* out = static_cast<uint8_t*>(locked);
    if (d.kind == BufferDescriptor::kVertex) {
        // A vertex widened for alignment gets zeros in its extra bytes.
        if (d.stride != mesh.stride) std::memset(out, 0, range.size);
        for (uint32_t v = 0; v < mesh.numVerts; ++v)
            std::memcpy(out + size_t{v} * d.stride, mesh.vertices + size_t{v} * mesh.stride, mesh.stride);
    } else if (d.indexFormat == gfx::D3DFMT_INDEX16) {
        for (uint32_t i = 0; i < mesh.numIndexes; ++i) {
            const auto value = static_cast<uint16_t>(mesh.index(i));
            std::memcpy(out + size_t{i} * 2, &value, 2);
        }
    } else {
        for (uint32_t i = 0; i < mesh.numIndexes; ++i) {
            const uint32_t value = mesh.index(i);
            std::memcpy(out + size_t{i} * 4, &value, 4);
        }
    }
    return gfx::SUCCEEDED(buffer->Unlock());
}
