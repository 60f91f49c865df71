#include "overlay/Font.h"

#include <algorithm>
#include <cstdlib>

#include "common/Log.h"
#include "overlay/MediaText.h"
#include "textures/TextureManager.h"
#include "udf/UdfTextNode.h"

namespace {

int IntOf(const UdfTextNode& node, const char* key) {
    const UdfTextNode* child = node.FindChild(key);
    return child ? child->AsInt() : 0;
}

int64_t Distance(int a, int b) { return std::abs(static_cast<int64_t>(a) - b); }

}  // namespace

const Charset* FontStyle::CharsetFor(int ch) const {
    for (const auto& charset : charsets_)
        if (charset->Covers(ch)) return charset.get();
    return nullptr;
}

bool Font::Load(const EngineString& path, const MediaFiles& media, TextureManager& textures) {
    UdfTextNode root;
    if (!ParseMediaText(path, media, root)) return false;
    if (const UdfTextNode* name = root.FindChild("Name")) name_ = name->AsString();
    const UdfTextNode* styles = root.FindChild("Styles");
    if (!styles) return true;
    for (const auto& entry : styles->Children()) {
        const UdfTextNode& description = *entry.node;
        uint32_t flags = 0;
        if (description.FindChild("Bold") && IntOf(description, "Bold") >= 1) flags |= FontStyle::kBold;
        if (description.FindChild("Italic") && IntOf(description, "Italic") >= 1) flags |= FontStyle::kItalic;
        const UdfTextNode* fontName = description.FindChild("FontName");
        FontStyle& style = AddStyle(std::make_unique<FontStyle>(IntOf(description, "Size"), flags,
                                                                fontName ? fontName->AsString() : EngineString()));
        const UdfTextNode* charsets = description.FindChild("Charsets");
        if (!charsets) continue;
        for (const auto& file : charsets->Children()) {
            auto charset = std::make_unique<Charset>(file.node->AsString());
            if (!charset->Load(media, textures))
                LogError("", "Error: Charset '" + charset->Name() + "' loading failed\n");
            style.AddCharset(std::move(charset));
        }
    }
    return true;
}

FontStyle& Font::AddStyle(std::unique_ptr<FontStyle> style) {
    for (const auto& existing : styles_)
        if (*existing == *style) return *existing;
    const auto at = std::upper_bound(styles_.begin(), styles_.end(), style,
                                     [](const auto& a, const auto& b) { return *a < *b; });
    return **styles_.insert(at, std::move(style));
}

const FontStyle* Font::StyleFor(int size) const {
    const FontStyle* best = nullptr;
    for (const auto& style : styles_)
        if (!best || Distance(style->Size(), size) < Distance(best->Size(), size)) best = style.get();
    return best;
}
