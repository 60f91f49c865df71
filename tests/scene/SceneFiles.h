#pragma once
// Scene files made by the tests in the encodings the loader reads.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/math/Math.h"
#include "platform/gfx/States.h"
#include "udf/UdfNode.h"
#include "udf/UdfWriter.h"

namespace scenefiles {

// A struct node of the scene file: its type word is its type name.
inline UdfNode* AddStruct(UdfNode& parent, const char* name, const char* type) {
    auto* node = new UdfNode(name, type, nullptr, 0, false);
    node->SetFlags(UdfNode::kStruct);
    if (!parent.Attach(node, false)) {
        delete node;
        return parent.FindChild(name);
    }
    return node;
}

inline std::unique_ptr<UdfNode> MakeRoot() {
    auto root = std::make_unique<UdfNode>("_root", "_roottype", nullptr, 0, false);
    root->SetFlags(UdfNode::kStruct);
    return root;
}

template <typename T>
void AddRaw(UdfNode& node, const char* name, const char* type, const std::vector<T>& values) {
    node.AddData(name, type, values.data(), static_cast<uint32_t>(values.size() * sizeof(T)), true);
}

inline void AddMatrix(UdfNode& node, const char* name, const math::Mat4& m) {
    node.AddData(name, "matrix", &m.m[0][0], 64, true);
}

inline void AddColor(UdfNode& node, const char* name, float a, float r, float g, float b) {
    const float argb[4] = {a, r, g, b};
    node.AddData(name, "color", argb, 16, true);
}

// A node with its placement (ObjectTM the identity unless given).
inline UdfNode* AddNode(UdfNode& parent, const char* name, const char* type, const math::Mat4& nodeTM,
                        const math::Mat4& objectTM = math::Identity()) {
    UdfNode* node = AddStruct(parent, name, type);
    AddMatrix(*node, "NodeTM", nodeTM);
    AddMatrix(*node, "ObjectTM", objectTM);
    return node;
}

// Vertices of FVF XYZ | NORMAL | TEX2: position, normal, two coordinate sets.
struct Vertex {
    float x, y, z;
    float nx, ny, nz;
    float u0, v0, u1, v1;
};
inline constexpr uint32_t kFvf = gfx::D3DFVF_XYZ | gfx::D3DFVF_NORMAL | gfx::D3DFVF_TEX2;

// Mesh keys for `vertices` and 16-bit `indices`.
inline UdfNode* AddMesh(UdfNode& parent, const char* name, const math::Mat4& nodeTM, const std::vector<Vertex>& vertices,
                        const std::vector<uint16_t>& indices, uint32_t fvf = kFvf) {
    UdfNode* mesh = AddNode(parent, name, "Mesh", nodeTM);
    mesh->AddInt("FVF", static_cast<int32_t>(fvf));
    mesh->AddInt("IndexSize", 2);
    mesh->AddInt("NumVerts", static_cast<int32_t>(vertices.size()));
    mesh->AddInt("NumIndexes", static_cast<int32_t>(indices.size()));
    AddRaw(*mesh, "Verts", "byte", vertices);
    AddRaw(*mesh, "Indexes", "byte", indices);
    return mesh;
}

// A square of side 2 x `half` in the plane z = `z`, facing -z (towards a camera looking down +z),
// wound clockwise as seen from there.
inline void Square(float cx, float cy, float half, float z, std::vector<Vertex>& vertices,
                   std::vector<uint16_t>& indices) {
    const auto base = static_cast<uint16_t>(vertices.size());
    vertices.push_back({cx - half, cy - half, z, 0, 0, -1, 0, 1, 0, 1});
    vertices.push_back({cx - half, cy + half, z, 0, 0, -1, 0, 0, 0, 0});
    vertices.push_back({cx + half, cy + half, z, 0, 0, -1, 1, 0, 1, 0});
    vertices.push_back({cx + half, cy - half, z, 0, 0, -1, 1, 1, 1, 1});
    for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
}

inline UdfNode* AddSquareMesh(UdfNode& parent, const char* name, float cx, float cy, float half, float z) {
    std::vector<Vertex> vertices;
    std::vector<uint16_t> indices;
    Square(cx, cy, half, z, vertices, indices);
    return AddMesh(parent, name, math::Identity(), vertices, indices);
}

struct Influence {
    int32_t bone;
    float weight;
};

// Skinning keys: bone names, and per vertex its influences (records in vertex order).
inline void AddSkin(UdfNode& mesh, const std::vector<const char*>& bones,
                    const std::vector<std::vector<Influence>>& perVertex) {
    UdfNode* names = AddStruct(mesh, "BoneNames", "string");
    for (size_t i = 0; i < bones.size(); ++i) names->AddString(std::to_string(i).c_str(), bones[i]);
    std::vector<int32_t> offs;
    std::vector<int32_t> nums;
    std::vector<Influence> records;
    for (const auto& influences : perVertex) {
        offs.push_back(static_cast<int32_t>(records.size()));
        nums.push_back(static_cast<int32_t>(influences.size()));
        records.insert(records.end(), influences.begin(), influences.end());
    }
    AddRaw(mesh, "VertBoneOffs", "int", offs);
    AddRaw(mesh, "VertBoneNums", "int", nums);
    AddRaw(mesh, "BoneWeights", "byte", records);
}

// The file's bytes as the binary writer makes them (none when it could not be written).
inline std::vector<uint8_t> SaveBytes(UdfNode& root, const std::string& path) {
    std::vector<UdfNode*> top;
    for (const auto& entry : root.Children()) top.push_back(entry.node);
    std::vector<uint8_t> bytes;
    if (!UdfWriter().Save(path.c_str(), top, nullptr, 0)) return bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

// An uncompressed TGA of `width` x `height` ARGB texels, top row first: 32 bits with `alpha`,
// else 24 bits (an image without an alpha channel).
inline bool WriteTga(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                     bool alpha = true) {
    uint8_t header[18] = {};
    header[2] = 2;
    header[12] = static_cast<uint8_t>(width);
    header[13] = static_cast<uint8_t>(width >> 8);
    header[14] = static_cast<uint8_t>(height);
    header[15] = static_cast<uint8_t>(height >> 8);
    header[16] = alpha ? 32 : 24;
    header[17] = alpha ? 0x28 : 0x20;  // top-left origin, 8 alpha bits or none
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(header, 1, sizeof(header), f);
    for (uint32_t texel : argb) {
        const uint8_t bgra[4] = {static_cast<uint8_t>(texel), static_cast<uint8_t>(texel >> 8),
                                 static_cast<uint8_t>(texel >> 16), static_cast<uint8_t>(texel >> 24)};
        std::fwrite(bgra, 1, alpha ? 4 : 3, f);
    }
    return std::fclose(f) == 0;
}

}  // namespace scenefiles
