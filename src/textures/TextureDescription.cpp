#include "textures/TextureDescription.h"

#include <memory>

#include "textures/Texture.h"
#include "textures/TextureAtlas.h"
#include "udf/UdfTextNode.h"
#include "udf/UdfTextParser.h"

using gfx::D3DCOLOR;
using gfx::D3DFMT_A1R5G5B5;
using gfx::D3DFMT_A4R4G4B4;
using gfx::D3DFMT_A8R8G8B8;
using gfx::D3DFMT_R5G6B5;
using gfx::D3DFMT_R8G8B8;
using gfx::D3DFMT_UNKNOWN;
using gfx::D3DFMT_X1R5G5B5;
using gfx::D3DFMT_X8R8G8B8;
using gfx::D3DFORMAT;
using gfx::D3DPOOL;
using gfx::D3DPOOL_DEFAULT;
using gfx::D3DPOOL_MANAGED;
using gfx::D3DPOOL_SYSTEMMEM;
using gfx::D3DUSAGE_DYNAMIC;
using gfx::D3DX_DEFAULT;
using gfx::D3DX_FILTER_BOX;
using gfx::D3DX_FILTER_LINEAR;
using gfx::D3DX_FILTER_NONE;
using gfx::D3DX_FILTER_TRIANGLE;
using gfx::RECT;

namespace {

struct Name {
    std::string_view text;
    uint32_t value;
};

uint32_t Lookup(std::initializer_list<Name> names, std::string_view text, uint32_t fallback) {
    for (const Name& name : names)
        if (name.text == text) return name.value;
    return fallback;
}

int32_t IntOf(const UdfTextNode& root, std::string_view key, int32_t fallback) {
    const UdfTextNode* node = root.FindChild(key);
    return node ? node->AsInt() : fallback;
}

std::string_view TextOf(const UdfTextNode& root, std::string_view key) {
    const UdfTextNode* node = root.FindChild(key);
    return node ? node->Value().view() : std::string_view{};
}

// Both forms need all four of their keys; any other mix gives no rectangle.
bool ReadRect(const UdfTextNode& root, RECT& rect) {
    const auto has = [&](std::string_view key) { return root.FindChild(key) != nullptr; };
    if (!has("x1") || !has("y1")) return false;
    const int32_t x1 = IntOf(root, "x1", 0), y1 = IntOf(root, "y1", 0);
    if (has("x2") && has("y2")) {
        rect = {x1, y1, IntOf(root, "x2", 0), IntOf(root, "y2", 0)};
        return true;
    }
    if (has("w") && has("h")) {
        rect = {x1, y1, x1 + IntOf(root, "w", 0), y1 + IntOf(root, "h", 0)};
        return true;
    }
    return false;
}

}  // namespace

D3DFORMAT DescriptionFormat(std::string_view name) {
    return static_cast<D3DFORMAT>(Lookup({{"D3DFMT_R8G8B8", D3DFMT_R8G8B8},
                                          {"D3DFMT_A8R8G8B8", D3DFMT_A8R8G8B8},
                                          {"D3DFMT_X8R8G8B8", D3DFMT_X8R8G8B8},
                                          {"D3DFMT_R5G6B5", D3DFMT_R5G6B5},
                                          {"D3DFMT_X1R5G5B5", D3DFMT_X1R5G5B5},
                                          {"D3DFMT_A1R5G5B5", D3DFMT_A1R5G5B5},
                                          {"D3DFMT_A4R4G4B4", D3DFMT_A4R4G4B4}},
                                         name, D3DFMT_UNKNOWN));
}

uint32_t DescriptionFilter(std::string_view name, uint32_t fallback) {
    return Lookup({{"D3DX_FILTER_NONE", D3DX_FILTER_NONE},
                   {"D3DX_FILTER_LINEAR", D3DX_FILTER_LINEAR},
                   {"D3DX_FILTER_TRIANGLE", D3DX_FILTER_TRIANGLE},
                   {"D3DX_FILTER_BOX", D3DX_FILTER_BOX}},
                  name, fallback);
}

D3DPOOL DescriptionPool(std::string_view name) {
    return static_cast<D3DPOOL>(Lookup({{"D3DPOOL_DEFAULT", D3DPOOL_DEFAULT},
                                        {"D3DPOOL_MANAGED", D3DPOOL_MANAGED},
                                        {"D3DPOOL_SYSTEMMEM", D3DPOOL_SYSTEMMEM}},
                                       name, D3DPOOL_MANAGED));
}

D3DCOLOR DescriptionColorKey(const UdfTextNode& value) {
    if (value.Kind() == UdfTextNode::kScalar) return static_cast<D3DCOLOR>(value.AsInt());
    const auto component = [&](std::string_view index, std::string_view letter) -> uint32_t {
        const UdfTextNode* node = value.FindChild(index);
        if (!node) node = value.FindChild(letter);
        return node ? static_cast<uint32_t>(node->AsInt()) & 0xFF : 0;
    };
    return 0xFF000000u | component("0", "r") << 16 | component("1", "g") << 8 | component("2", "b");
}

bool LoadTextureDescription(Texture& texture, FileSource& source, const FileSearchList* searchList) {
    std::unique_ptr<DataStream> stream = source.Open(DataStream::kRead);
    if (!stream) return false;
    UdfTextNode root;
    const bool parsed = ParseUdfText(*stream, root, searchList);
    stream->Close();
    return parsed && texture.InitFromDescription(root, nullptr);
}

bool Texture::InitFromDescription(const UdfTextNode& root, Texture* parent) {
    const std::string_view fileName = TextOf(root, "FileName");
    const bool hasFile = root.FindChild("FileName") != nullptr;
    uint32_t initFlags = hasFile ? kKeepData : kEmpty;
    initFlags = Lookup({{"SAVE_NAME", kKeepName}, {"SAVE_DATA", kKeepData}}, TextOf(root, "InitFlags"), initFlags);
    uint32_t width = D3DX_DEFAULT, height = D3DX_DEFAULT;
    if (root.FindChild("Width") && root.FindChild("Height")) {
        width = static_cast<uint32_t>(IntOf(root, "Width", -1));
        height = static_cast<uint32_t>(IntOf(root, "Height", -1));
    }
    RECT rect;
    const bool hasRect = ReadRect(root, rect);
    delay_ = static_cast<uint32_t>(IntOf(root, "Delay", static_cast<int32_t>(parent ? parent->delay_ : 100)));
    const uint32_t usage = TextOf(root, "Usage") == "D3DUSAGE_DYNAMIC" ? D3DUSAGE_DYNAMIC : 0;
    name_ = EngineString(TextOf(root, "Id"));
    const D3DPOOL pool = DescriptionPool(TextOf(root, "Pool"));
    const auto levels = static_cast<uint32_t>(IntOf(root, "Levels", 1));
    const D3DFORMAT format = DescriptionFormat(TextOf(root, "Format"));
    const UdfTextNode* key = root.FindChild("ColorKey");
    const D3DCOLOR colorKey = key ? DescriptionColorKey(*key) : 0;
    const uint32_t filter = DescriptionFilter(TextOf(root, "Filter"), D3DX_FILTER_LINEAR);
    const uint32_t mipFilter = DescriptionFilter(TextOf(root, "MipFilter"), D3DX_FILTER_BOX);

    const bool created = hasFile ? CreateFromFile(EngineString(fileName), initFlags, width, height, levels, usage,
                                                  format, pool, filter, mipFilter, colorKey)
                                 : CreateEmpty(initFlags, width, height, levels, usage, format, pool);
    if (!created) return false;
    if (hasRect) {
        rect_ = rect;
        hasRect_ = true;
    }

    if (!parent) {
        if (const UdfTextNode* subs = root.FindChild("Subs")) {
            for (const auto& element : subs->Children()) {
                auto sub = std::make_unique<Texture>(device_);
                if (!sub->InitFromDescription(*element.node, this)) return false;
                if (!sub->hasRect_ && !TextureAtlas::Place(*this, *sub)) return false;
                sub->d3dTexture_.Reset();
                AttachSub(std::move(sub));
            }
            bool restored = true;
            for (const auto& sub : subs_) restored = sub->Restore() && restored;
            if (!restored) return false;
        }
    }
    if (const UdfTextNode* animations = root.FindChild("Animation")) {
        for (const auto& animation : animations->Children()) {
            std::vector<EngineString>& frames = animations_[animation.name];
            frames.clear();
            for (const auto& frame : animation.node->Children()) frames.push_back(frame.node->Value());
        }
    }
    return true;
}
