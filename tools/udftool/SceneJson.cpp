#include <cmath>
#include <cstdio>

#include "SceneFile.h"
#include "TreeJson.h"
#include "platform/gfx/States.h"
#include "textures/Texture.h"

namespace {

class JsonOut {
public:
    std::string text;

    void key(const char* name) {
        separate();
        AppendJsonString(text, name);
        text += ':';
        fresh_ = true;
    }
    void number(double value) {
        separate();
        if (!std::isfinite(value)) {
            text += "null";
            return;
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.9g", value);
        text += buffer;
    }
    void string(std::string_view value) {
        separate();
        AppendJsonString(text, value);
    }
    void boolean(bool value) {
        separate();
        text += value ? "true" : "false";
    }
    void null() {
        separate();
        text += "null";
    }
    void open(char bracket) {
        separate();
        text += bracket;
        fresh_ = true;
    }
    void close(char bracket) {
        text += bracket;
        fresh_ = false;
    }
    template <typename... Values>
    void numbers(Values... values) {
        open('[');
        (number(values), ...);
        close(']');
    }

private:
    void separate() {
        if (!fresh_) text += ',';
        fresh_ = false;
    }
    bool fresh_ = true;
};

std::string BaseName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Stages as the block is applied: up to and including the first whose colour operation is
// DISABLE.
void WriteStages(JsonOut& json, const StateBlock& block) {
    json.key("stages");
    json.open('[');
    for (const StageState& s : block.stages) {
        json.open('{');
        json.key("colorOp"), json.number(s.colorOp);
        json.key("alphaOp"), json.number(s.alphaOp);
        json.key("colorArg0"), json.number(s.colorArg0);
        json.key("colorArg1"), json.number(s.colorArg1);
        json.key("colorArg2"), json.number(s.colorArg2);
        json.key("alphaArg0"), json.number(s.alphaArg0);
        json.key("alphaArg1"), json.number(s.alphaArg1);
        json.key("alphaArg2"), json.number(s.alphaArg2);
        json.key("texture");
        if (s.texture) json.string(BaseName(s.texture->FileName().view()));
        else json.null();
        json.key("texCoordIndex"), json.number(s.texCoordIndex);
        json.key("addressU"), json.number(s.addressU);
        json.key("addressV"), json.number(s.addressV);
        json.close('}');
        if (s.colorOp == gfx::D3DTOP_DISABLE) break;
    }
    json.close(']');
}

void WriteBlock(JsonOut& json, const StateBlock& block) {
    json.key("blendMode"), json.number(block.blendMode);
    json.key("zFunc"), json.number(block.zFunc);
    json.key("zWrite"), json.number(block.zWrite);
    json.key("cullMode"), json.number(block.cullMode);
    json.key("opacity"), json.number(block.opacity);
    json.key("lit"), json.number(block.lit);
    WriteStages(json, block);
}

void WriteRenderable(JsonOut& json, const Renderable* renderable) {
    json.key("renderable");
    const auto* mesh = dynamic_cast<const MeshRenderable*>(renderable);
    if (!mesh) {
        json.null();
        return;
    }
    json.open('{');
    json.key("kind"), json.string(mesh->isSkinned() ? "skinned" : "static");
    json.key("triangles"), json.number(mesh->primitiveCount());
    json.key("vertices"), json.number(mesh->meshData().numVerts);
    json.key("stride"), json.number(mesh->vertexRange()->descriptor.stride);
    json.key("fvf"), json.number(mesh->meshData().fvf);
    json.key("indexFormat");
    if (mesh->indexRange()) json.number(mesh->indexRange()->descriptor.indexFormat);
    else json.null();
    json.key("vertexUsage"), json.number(mesh->vertexRange()->descriptor.usage);
    json.key("indexUsage");
    if (mesh->indexRange()) json.number(mesh->indexRange()->descriptor.usage);
    else json.null();
    const BoundingBox& b = mesh->getBounds();
    json.key("bounds"), json.numbers(b.min.x, b.min.y, b.min.z, b.max.x, b.max.y, b.max.z);
    WriteStages(json, mesh->getStateBlock());
    json.close('}');
}

void WriteNodes(JsonOut& json, const std::vector<std::unique_ptr<SceneNode>>& nodes, const EngineString& take) {
    json.open('[');
    for (const auto& node : nodes) {
        json.open('{');
        json.key("name"), json.string(node->getName().view());
        json.key("type"), json.string(node->getType().view());
        WriteRenderable(json, node->getRenderable());
        json.key("animations");
        json.open('[');
        if (const Animation* animation = node->findAnimation(take)) {
            json.open('{');
            json.key("name"), json.string(take.view());
            json.key("tracks");
            json.open('{');
            json.key("position"), json.number(animation->positionTrack().keyCount());
            json.key("scale"), json.number(animation->scaleTrack().keyCount());
            json.key("rotation"), json.number(animation->rotationTrack().keyCount());
            json.close('}');
            json.close('}');
        }
        json.close(']');
        json.key("children");
        WriteNodes(json, node->children(), take);
        json.close('}');
    }
    json.close(']');
}

// World matrices and boxes as a frame would have them, without drawing anything.
class CollectNothing final : public RenderQueue {
public:
    void add(Renderable&) override {}
};

}  // namespace

bool LoadSceneFile(const std::string& path, gfx::Device& device, LoadedScene& out) {
    FileSource source{EngineString(path.c_str())};
    ByteBlock bytes;
    bool wantReference = false;
    if (!source.ReadAll(bytes, wantReference)) return false;
    out.files.Add(source.ParentDirectory());
    out.textures = std::make_unique<TextureManager>(&device);
    SceneContext context;
    context.files = &out.files;
    context.textures = out.textures.get();
    out.scene = std::make_unique<Scene>(context);
    out.loaded = out.scene->loadFromMemory(bytes.data, bytes.size, "");
    return true;
}

std::string SceneToJson(Scene& scene, bool loaded) {
    CollectNothing nothing;
    RenderContext context;
    context.flags = RenderContext::kSkipVisibility;
    context.sorter = &nothing;
    scene.root().render(context);

    JsonOut json;
    json.open('{');
    json.key("loaded"), json.boolean(loaded);
    json.key("materials");
    json.open('[');
    for (const auto& [name, block] : scene.materials().entries()) {
        json.open('{');
        json.key("name"), json.string(name.view());
        WriteBlock(json, block);
        json.close('}');
    }
    json.close(']');
    json.key("lights");
    json.open('[');
    for (const auto& light : scene.lights()) {
        const gfx::D3DLIGHT9& l = light->light;
        json.open('{');
        json.key("name"), json.string(light->name.view());
        json.key("type"), json.number(l.Type);
        json.key("position"), json.numbers(l.Position.x, l.Position.y, l.Position.z);
        json.key("direction"), json.numbers(l.Direction.x, l.Direction.y, l.Direction.z);
        json.key("range"), json.number(l.Range);
        json.key("theta"), json.number(l.Theta);
        json.key("phi"), json.number(l.Phi);
        json.key("attenuation"), json.numbers(l.Attenuation0, l.Attenuation1, l.Attenuation2);
        json.key("diffuse"), json.numbers(l.Diffuse.r, l.Diffuse.g, l.Diffuse.b, l.Diffuse.a);
        json.close('}');
    }
    json.close(']');
    json.key("nodes");
    WriteNodes(json, scene.rootChildren(), scene.takeName());
    json.key("cameras");
    WriteNodes(json, scene.cameraChildren(), scene.takeName());
    json.close('}');
    return json.text;
}
