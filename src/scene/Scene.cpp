#include "scene/Scene.h"

#include <cmath>
#include <cstring>

#include "resources/ByteBlock.h"
#include "textures/Texture.h"
#include "scene/SceneKeys.h"
#include "udf/UdfReader.h"

namespace {

// Deeper node nesting than any scene has is a damaged file; the deeper levels are skipped so the
// tree's recursive walks stay bounded.
constexpr int kMaxNodeDepth = 128;

bool DiffersFromIdentity(const Matrix& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            // Written so that a NaN element counts as a difference.
            if (!(std::fabs(m.m(r, c) - (r == c ? 1.0f : 0.0f)) <= 0.01f)) return true;
    return false;
}

gfx::D3DCOLORVALUE ToColorValue(const EngineColor& c) { return {c.r, c.g, c.b, c.a}; }

}  // namespace

Scene::Scene(const SceneContext& context) : context_(context) {}

Scene::~Scene() {
    for (Texture* texture : textures_) texture->Release();
}

bool Scene::load(FileSource file, const EngineString& takeName) {
    ByteBlock bytes;
    bool reference = true;
    if (!file.ReadAll(bytes, reference)) {
        takeName_ = takeName;
        return false;
    }
    return loadFromMemory(bytes.data, bytes.size, takeName);
}

bool Scene::loadFromMemory(const uint8_t* data, uint32_t size, const EngineString& takeName) {
    takeName_ = takeName;
    UdfReader reader;
    std::unique_ptr<UdfNode> fileRoot = reader.OpenMemory(data, size);
    if (!fileRoot) return false;
    fileRoot->Load(0);
    reader.Close();
    return loadRoot(*fileRoot);
}

bool Scene::loadRoot(UdfNode& fileRoot) {
    visited_.clear();
    if (const UdfNode* materials = fileRoot.FindChild("Materials")) loadMaterials(*materials);
    if (UdfNode* cameras = fileRoot.FindChild("Cameras"))
        for (const auto& entry : cameras->Children()) loadNode(*entry.node, cameraRoot_);
    if (const UdfNode* lights = fileRoot.FindChild("Lights"))
        for (const auto& entry : lights->Children())
            if (!loadLight(*entry.node)) break;
    if (UdfNode* children = fileRoot.FindChild("Children"))
        for (const auto& entry : children->Children()) loadNode(*entry.node, root_);

    visited_.clear();
    root_.bind();
    for (SkinnedRenderable* skinned : skinned_)
        if (!skinned->bindBones(root_)) return false;
    return true;
}

void Scene::loadNode(UdfNode& udfNode, SceneNode& parent, int depth) {
    if (depth >= kMaxNodeDepth || !visited_.insert(&udfNode).second) return;
    const EngineString& name = udfNode.Name();
    SceneNode* node = root_.find(name);
    if (!node) {
        auto made = std::make_unique<SceneNode>();
        made->setName(name);
        made->setType(udfNode.TypeName());
        node = parent.addChild(std::move(made));
        if (node->getType() == "Mesh") loadMesh(udfNode, *node);
    }
    Matrix nodeTM;
    Matrix objectTM;
    if (ReadMatrixKey(udfNode, "NodeTM", nodeTM) && ReadMatrixKey(udfNode, "ObjectTM", objectTM))
        setNodeTransforms(udfNode, *node, nodeTM, objectTM);
    loadAnimation(udfNode, *node);
    if (UdfNode* children = udfNode.FindChild("Children"))
        for (const auto& entry : children->Children()) loadNode(*entry.node, *node, depth + 1);
}

void Scene::setNodeTransforms(const UdfNode& /*udfNode*/, SceneNode& node, const Matrix& nodeTM,
                              const Matrix& objectTM) {
    NodeTransform transform;
    transform.decompose(nodeTM);  // keeps the whole matrix as `pre` when it does not decompose
    NodeTransform object;
    const bool hasObject = DiffersFromIdentity(objectTM);
    if (hasObject) object.setPre(objectTM);
    const bool first = node.takeCount() == 0;
    node.addTake(takeName_, transform, hasObject ? &object : nullptr);
    if (first) node.applyTake(takeName_, false);
}

void Scene::loadAnimation(const UdfNode& udfNode, SceneNode& node) {
    const UdfNode* source = udfNode.FindChild("Animation");
    if (!source) return;
    auto animation = std::make_shared<Animation>();
    const std::pair<const char*, AnimationTrack*> tracks[3] = {{"Position", &animation->positionTrack()},
                                                               {"Scale", &animation->scaleTrack()},
                                                               {"Rotation", &animation->rotationTrack()}};
    for (const auto& [key, track] : tracks) {
        const UdfNode* keys = source->FindChild(key);
        if (!keys) continue;
        if (keys->TypeName() == "Sample" || keys->TypeName() == "Linear")
            track->setFlags(track->flags() | AnimationTrack::kLinear);
        for (const auto& entry : keys->Children()) {
            const UdfNode& element = *entry.node;
            if (element.Size() != sizeof(AnimationKey) || !element.Data()) break;
            AnimationKey k;
            std::memcpy(&k, element.Data(), sizeof(k));
            track->addKey(k);
        }
    }
    node.addAnimation(takeName_, std::move(animation));
}

bool Scene::loadLight(const UdfNode& udfNode) {
    Matrix nodeTM;
    Matrix objectTM;
    // A light without its placement is lost alone, like any other item.
    if (!ReadMatrixKey(udfNode, "NodeTM", nodeTM) || !ReadMatrixKey(udfNode, "ObjectTM", objectTM)) return true;
    const Matrix world = objectTM * nodeTM;
    NodeTransform parts;
    if (!parts.decompose(world)) return false;

    auto light = std::make_unique<Light>();
    light->name = udfNode.Name();
    gfx::D3DLIGHT9& record = light->light;
    const math::Vec3 position = world.TranslationRow();
    const math::Vec3 direction = math::Normalize(math::TransformNormal({0, -1, 0}, world.m));
    float attStart = 0;
    ReadRealKey(udfNode, "AttStart", attStart);
    const EngineString& kind = udfNode.TypeName();
    if (kind == "PointLight") {
        record.Type = gfx::D3DLIGHT_POINT;
    } else if (kind == "DirLight") {
        record.Type = gfx::D3DLIGHT_DIRECTIONAL;
    } else if (kind == "SpotLight") {
        record.Type = gfx::D3DLIGHT_SPOT;
        ReadRealKey(udfNode, "HotSpot", record.Theta);
        ReadRealKey(udfNode, "FallOff", record.Phi);
        record.Falloff = 1.0f;
    } else {
        return false;
    }
    record.Position = {position.x, position.y, position.z};
    record.Direction = {direction.x, direction.y, direction.z};
    if (record.Type != gfx::D3DLIGHT_DIRECTIONAL) {
        // Without AttStart the light keeps its full strength over its range: all three
        // attenuation factors 0 would divide by zero.
        if (attStart != 0.0f) {
            record.Attenuation1 = 1.0f / attStart;
        } else {
            record.Attenuation0 = 1.0f;
        }
    }
    EngineColor diffuse;
    if (ReadColorKey(udfNode, "Diffuse", diffuse)) record.Diffuse = ToColorValue(diffuse);
    ReadRealKey(udfNode, "AttEnd", record.Range);
    return addLight(udfNode, std::move(light));
}

bool Scene::addLight(const UdfNode& /*udfNode*/, std::unique_ptr<Light> light) {
    lights_.push_back(std::move(light));
    return true;
}

void Scene::onDeviceLost() { buffers_.releaseAll(); }

bool Scene::onDeviceReset() {
    bool ok = buffers_.recreateAll();
    for (const auto& range : buffers_.ranges())
        if (!range->isLost()) ok = fillBufferRange(*range) && ok;
    return ok;
}
