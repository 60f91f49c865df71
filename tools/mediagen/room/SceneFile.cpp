#include "SceneFile.h"

#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "common/LittleEndian.h"
#include "udf/UdfNode.h"
#include "udf/UdfWriter.h"

namespace room {

namespace {

UdfNode* AddStruct(UdfNode& parent, const std::string& name, const std::string& type) {
    auto child = std::make_unique<UdfNode>(EngineString(name.c_str()), EngineString(type.c_str()), nullptr, 0, false);
    child->SetFlags(UdfNode::kStruct);
    UdfNode* raw = child.get();
    if (!parent.Attach(raw, false)) return parent.FindChild(name);
    child.release();
    return raw;
}

void AddBytes(UdfNode& parent, const char* name, const char* type, const std::vector<uint8_t>& bytes) {
    parent.AddData(name, type, bytes.data(), static_cast<uint32_t>(bytes.size()), true);
}

void AddMatrix(UdfNode& parent, const char* name, const math::Mat4& m) {
    std::vector<uint8_t> bytes;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) AppendLeFloat(bytes, m(r, c));
    AddBytes(parent, name, "matrix", bytes);
}

// Colours are stored alpha first.
void AddColor(UdfNode& parent, const char* name, float a, float r, float g, float b) {
    std::vector<uint8_t> bytes;
    for (float f : {a, r, g, b}) AppendLeFloat(bytes, f);
    AddBytes(parent, name, "color", bytes);
}

void AddTextureSlot(UdfNode& material, const std::string& file) {
    UdfNode* slot = AddStruct(*AddStruct(material, "Textures", "Textures"), "Map #1", "Diffuse");
    slot->AddString("FileName", file.c_str());
}

void AddSurface(UdfNode& node, const MaterialDef& def) {
    const float a = def.ambient;
    AddColor(node, "Ambient", 1, a, a, a);
    AddColor(node, "Diffuse", 1, a, a, a);
    if (def.twoSided) node.AddString("TwoSided", "1");
    AddTextureSlot(node, def.texture);
}

void WriteMaterials(UdfNode& root, const RoomModel& model, const std::map<std::string, std::set<int>>& pagesUsed) {
    UdfNode* materials = AddStruct(root, "Materials", "Materials");
    for (const MaterialDef& def : model.materials) {
        if (!def.lightMapped) {
            AddSurface(*AddStruct(*materials, def.name, "Material"), def);
            continue;
        }
        const auto used = pagesUsed.find(def.name);
        if (used == pagesUsed.end()) continue;
        for (int page : used->second) {
            const std::string name = page == 0 ? def.name : def.name + " " + std::to_string(page);
            UdfNode* material = AddStruct(*materials, name, "Material");
            UdfNode* subs = AddStruct(*material, "Materials", "Materials");
            UdfNode* base = AddStruct(*subs, "Surface", "Material");
            base->AddInt("MaterialSubId", 0);
            AddSurface(*base, def);
            UdfNode* light = AddStruct(*subs, "LightMap", "Material");
            light->AddInt("MaterialSubId", 1);
            AddTextureSlot(*light, LightMapFile(page));
        }
    }
}

std::string MaterialName(const SceneObject& o) {
    if (o.lighting != Lighting::kLightMap || o.lightMapPage == 0) return o.material;
    return o.material + " " + std::to_string(o.lightMapPage);
}

int FvfOf(const SceneObject& o) {
    if (o.lighting == Lighting::kLightMap) return kFvfLightMapped;
    if (o.lighting == Lighting::kVertex) return kFvfVertexLit;
    for (const MeshVertex& v : o.mesh.vertices)
        if (v.color != 0xFFFFFFFF) return kFvfVertexLit;
    return kFvfPlain;
}

void WriteMesh(UdfNode& node, const SceneObject& o) {
    const int fvf = FvfOf(o);
    std::vector<uint8_t> verts;
    for (const MeshVertex& v : o.mesh.vertices) {
        for (float f : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z}) AppendLeFloat(verts, f);
        if (fvf == kFvfVertexLit) AppendLe32(verts, v.color);
        AppendLeFloat(verts, v.uv.x);
        AppendLeFloat(verts, v.uv.y);
        if (fvf == kFvfLightMapped) {
            AppendLeFloat(verts, v.lightUv.x);
            AppendLeFloat(verts, v.lightUv.y);
        }
    }
    const bool wide = o.mesh.vertices.size() > 65535;
    std::vector<uint8_t> indexes;
    for (uint32_t i : o.mesh.indices) {
        if (wide) {
            AppendLe32(indexes, i);
        } else {
            indexes.push_back(static_cast<uint8_t>(i));
            indexes.push_back(static_cast<uint8_t>(i >> 8));
        }
    }
    node.AddString("MaterialName", MaterialName(o).c_str());
    node.AddInt("FVF", fvf);
    node.AddInt("IndexSize", wide ? 4 : 2);
    node.AddInt("NumVerts", static_cast<int32_t>(o.mesh.vertices.size()));
    node.AddInt("NumIndexes", static_cast<int32_t>(o.mesh.indices.size()));
    AddBytes(node, "Verts", "byte", verts);
    AddBytes(node, "Indexes", "byte", indexes);
    for (const auto& [key, value] : o.keys) node.AddString(key.c_str(), value.c_str());
    if (o.alpha >= 0) node.AddReal("Alpha", o.alpha);
    if (o.skin.boneNames.empty()) return;
    UdfNode* names = AddStruct(node, "BoneNames", "BoneNames");
    for (size_t b = 0; b < o.skin.boneNames.size(); ++b)
        names->AddString(std::to_string(b).c_str(), o.skin.boneNames[b].c_str());
    std::vector<uint8_t> offsets, counts, weights;
    for (int32_t v : o.skin.firstInfluence) AppendLe32(offsets, static_cast<uint32_t>(v));
    for (int32_t v : o.skin.influenceCount) AppendLe32(counts, static_cast<uint32_t>(v));
    for (const auto& [bone, weight] : o.skin.influences) {
        AppendLe32(weights, static_cast<uint32_t>(bone));
        AppendLeFloat(weights, weight);
    }
    AddBytes(node, "VertBoneOffs", "int", offsets);
    AddBytes(node, "VertBoneNums", "int", counts);
    AddBytes(node, "BoneWeights", "byte", weights);
}

// A track of 32-byte keys: time, value, then curve parameters (zero: a smooth curve through
// every key, unless the track is linear).
void WriteTrack(UdfNode& animation, const char* name, const std::vector<AnimationKey>& keys, int values, bool linear) {
    if (keys.empty()) return;
    UdfNode* track = AddStruct(animation, name, linear ? "Linear" : "Track");
    for (size_t k = 0; k < keys.size(); ++k) {
        std::vector<uint8_t> bytes;
        AppendLeFloat(bytes, keys[k].time);
        for (int i = 0; i < 7; ++i) AppendLeFloat(bytes, i < values ? keys[k].value[i] : 0.0f);
        AddBytes(*track, std::to_string(k).c_str(), "AniKey", bytes);
    }
}

void WriteNode(UdfNode& parent, const SceneObject& o) {
    UdfNode* node = AddStruct(parent, o.name, o.type);
    AddMatrix(*node, "NodeTM", o.nodeTM);
    AddMatrix(*node, "ObjectTM", math::Identity());
    if (o.type == "Mesh") WriteMesh(*node, o);
    if (!o.rotationKeys.empty() || !o.positionKeys.empty()) {
        UdfNode* animation = AddStruct(*node, "Animation", "Animation");
        WriteTrack(*animation, "Position", o.positionKeys, 3, o.linearKeys);
        WriteTrack(*animation, "Rotation", o.rotationKeys, 4, o.linearKeys);
    }
    if (o.children.empty()) return;
    UdfNode* children = AddStruct(*node, "Children", "Children");
    for (const SceneObject& child : o.children) WriteNode(*children, child);
}

void CollectPages(const std::vector<SceneObject>& objects, std::map<std::string, std::set<int>>& out) {
    for (const SceneObject& o : objects) {
        if (o.lighting == Lighting::kLightMap && o.type == "Mesh") out[o.material].insert(o.lightMapPage);
        CollectPages(o.children, out);
    }
}

}  // namespace

std::string LightMapFile(int index) { return "LightMap" + std::to_string(index + 1) + ".png"; }

bool WriteSceneFile(const std::string& path, const RoomModel& model) {
    std::map<std::string, std::set<int>> pagesUsed;
    CollectPages(model.objects, pagesUsed);
    UdfNode materials;
    materials.SetFlags(UdfNode::kStruct);
    WriteMaterials(materials, model, pagesUsed);
    UdfNode children("Children", "Children", nullptr, 0, false);
    children.SetFlags(UdfNode::kStruct);
    for (const SceneObject& o : model.objects) WriteNode(children, o);
    UdfNode* materialSection = materials.FindChild("Materials");
    UdfWriter writer;
    return writer.Save(path.c_str(), {materialSection, &children}, nullptr, UdfWriter::kInMemory);
}

}  // namespace room
