// The "Materials" section and the mesh-level render keys.

#include <string>

#include "platform/gfx/States.h"
#include "textures/TextureManager.h"
#include "scene/Scene.h"
#include "scene/SceneKeys.h"
#include "udf/UdfNode.h"

using namespace gfx;


namespace {

gfx::D3DCOLORVALUE ToColorValue(const EngineColor& c) { return {c.r, c.g, c.b, c.a}; }

uint32_t SlotAddress(const UdfNode& slot, const char* key) {
    EngineString word;
    if (!ReadStringKey(slot, key, word)) return D3DTADDRESS_WRAP;
    if (word == "Mirror") return D3DTADDRESS_MIRROR;
    if (word == "Wrap") return D3DTADDRESS_WRAP;
    return D3DTADDRESS_BORDER;
}

// The colour operation a sub-material's name asks for, or 0.
uint32_t KeywordOperation(std::string_view name) {
    if (ContainsIgnoreCase(name, "LightMap") || ContainsIgnoreCase(name, "Modulate2X")) return D3DTOP_MODULATE2X;
    if (ContainsIgnoreCase(name, "Modulate")) return D3DTOP_MODULATE;
    if (ContainsIgnoreCase(name, "AddSigned")) return D3DTOP_ADDSIGNED;
    if (ContainsIgnoreCase(name, "Add") || ContainsIgnoreCase(name, "Chrome")) return D3DTOP_ADD;
    return 0;
}

// Sets `field` from the word of `key` found in `table`; other words leave it as it was.
template <size_t N>
void ReadWord(const UdfNode& node, const char* key, const std::pair<const char*, uint32_t> (&table)[N],
              uint32_t& field) {
    EngineString word;
    if (!ReadStringKey(node, key, word)) return;
    for (const auto& [text, value] : table)
        if (word == text) field = value;
}

constexpr std::pair<const char*, uint32_t> kFilters[] = {{"none", D3DTEXF_NONE},         {"point", D3DTEXF_POINT},
                                                         {"linear", D3DTEXF_LINEAR},     {"anisotropic", D3DTEXF_ANISOTROPIC},
                                                         {"pyrquad", D3DTEXF_PYRAMIDALQUAD}, {"guasquad", D3DTEXF_GAUSSIANQUAD}};
constexpr std::pair<const char*, uint32_t> kAddresses[] = {
    {"wrap", D3DTADDRESS_WRAP}, {"mirror", D3DTADDRESS_MIRROR}, {"border", D3DTADDRESS_BORDER}};

}  // namespace

::Texture* Scene::acquireTexture(const EngineString& fileName) {
    if (!context_.textures) return nullptr;
    TextureDescriptor descriptor;
    descriptor.source.sources = FileSource::kDisk | FileSource::kArchive;
    descriptor.source.path = fileName;
    ::Texture* texture = context_.textures->GetTexture(descriptor, context_.files);
    if (texture) textures_.push_back(texture);
    return texture;
}

void Scene::loadMaterial(const UdfNode& udfNode, StateBlock& block) {
    EngineColor color;
    if (ReadColorKey(udfNode, "Ambient", color)) block.material.Ambient = ToColorValue(color);
    if (ReadColorKey(udfNode, "Diffuse", color)) block.material.Diffuse = ToColorValue(color);
    if (ReadColorKey(udfNode, "Specular", color)) block.material.Specular = ToColorValue(color);
    if (ReadColorKey(udfNode, "Emissive", color)) block.material.Emissive = ToColorValue(color);
    block.cullMode = udfNode.FindChild("TwoSided") ? D3DCULL_NONE : D3DCULL_CCW;
    ReadRealKey(udfNode, "Opacity", block.opacity);

    const UdfNode* textures = udfNode.FindChild("Textures");
    if (!textures) return;
    for (const auto& entry : textures->Children()) {
        const UdfNode& slot = *entry.node;
        EngineString fileName;
        if (!ReadStringKey(slot, "FileName", fileName)) return;
        const uint32_t addressU = SlotAddress(slot, "TexAddrU");
        const uint32_t addressV = SlotAddress(slot, "TexAddrV");
        if (slot.TypeName() != "Diffuse") continue;
        if (::Texture* texture = acquireTexture(fileName)) {
            block.stages[0].texture = texture;
            block.stages[0].addressU = addressU;
            block.stages[0].addressV = addressV;
        }
    }
}

void Scene::loadMaterials(const UdfNode& materials) {
    for (const auto& entry : materials.Children()) {
        const UdfNode& source = *entry.node;
        if (materials_.contains(source.Name())) continue;
        StateBlock block = context_.materialDefault;
        const UdfNode* subs = source.FindChild("Materials");
        if (subs && subs->ChildCount() > 0) {
            for (const auto& subEntry : subs->Children()) {
                const UdfNode& sub = *subEntry.node;
                int32_t id = 0;
                ReadIntKey(sub, "MaterialSubId", id);
                if (id == 0) {
                    loadMaterial(sub, block);
                    continue;
                }
                StateBlock loaded = context_.materialDefault;
                loadMaterial(sub, loaded);
                // Ids beyond the seven extra stages (and below zero) are read and dropped.
                if (id < 1 || id >= StateBlock::kStages) continue;
                StageState& stage = block.stages[id];
                stage = loaded.stages[0];
                stage.texCoordIndex = static_cast<uint32_t>(id);
                const std::string_view name = sub.Name().view();
                if (ContainsIgnoreCase(name, "Chrome")) stage.texCoordIndex |= D3DTSS_TCI_SPHEREMAP;
                if (const uint32_t op = KeywordOperation(name)) {
                    stage.colorOp = op;
                    stage.colorArg1 = D3DTA_CURRENT;
                    stage.colorArg2 = stage.texture ? D3DTA_TEXTURE : D3DTA_DIFFUSE;
                }
            }
        } else {
            loadMaterial(source, block);
        }
        materials_.add(source.Name(), block);
    }
}

void Scene::readRenderKeys(const UdfNode& udfNode, StateBlock& block) {
    EngineString word;
    if (ReadStringKey(udfNode, "Blend", word)) {
        if (word == "additive") block.blendMode = StateBlock::kAdditive;
        else if (word == "multiply") block.blendMode = StateBlock::kAlphaBlend;
    }
    StageState& stage = block.stages[0];
    ReadWord(udfNode, "MinFilter", kFilters, stage.minFilter);
    ReadWord(udfNode, "MagFilter", kFilters, stage.magFilter);
    ReadWord(udfNode, "MipFilter", kFilters, stage.mipFilter);
    ReadWord(udfNode, "TexAddrU", kAddresses, stage.addressU);
    ReadWord(udfNode, "TexAddrV", kAddresses, stage.addressV);

    if (ReadStringKey(udfNode, "AlphaUse", word)) {
        const std::string_view words = word.view();
        const bool factor = HasWord(words, "factor");
        const bool texture = HasWord(words, "texture");
        const bool diffuse = HasWord(words, "diffuse");
        const bool empty = words.find_first_not_of(" \t") == std::string_view::npos;
        // No word at all is mode 0, alpha off. A list of words none of which is known is read
        // as those words are everywhere else: they leave the alpha set-up as it was, so a
        // misspelt "textur" does not quietly make a transparent material opaque.
        int mode = -1;
        if (factor) mode = texture ? 3 : (diffuse ? 5 : 1);
        else if (diffuse) mode = texture ? 6 : 4;
        else if (texture) mode = 2;
        else if (empty) mode = 0;
        if (mode >= 0) block.setAlphaUse(mode);
        if (factor) {
            block.opacity = 0.5f;
            ReadRealKey(udfNode, "Alpha", block.opacity);
        }
    }
    if (udfNode.FindChild("Lit")) block.lit = KeyIsOne(udfNode, "Lit") ? 1 : 0;
}
