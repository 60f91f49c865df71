#include "overlay/Charset.h"

#include <algorithm>
#include <cmath>

#include "common/Log.h"
#include "overlay/MediaText.h"
#include "textures/TextureDescription.h"
#include "textures/TextureManager.h"
#include "udf/UdfTextNode.h"

namespace {

// The character a Sizes or Rects element names: the one after a leading double quote, or the
// decimal index read from the name; -1 for a name that is neither.
int IndexOf(const EngineString& name, int startChar) {
    const std::string_view text = name.view();
    if (!text.empty() && text[0] == '"') {
        if (text.size() < 2) return -1;
        return static_cast<unsigned char>(text[1]) - startChar;
    }
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(std::string(text));
}

void ReadInt(const UdfTextNode& root, const char* key, int& member) {
    if (const UdfTextNode* node = root.FindChild(key)) member = node->AsInt();
}

// A format's number, or its name as texture description files write it ("D3DFMT_A8R8G8B8").
gfx::D3DFORMAT FormatOf(const UdfTextNode& node) {
    const gfx::D3DFORMAT named = DescriptionFormat(node.AsString().view());
    return named != gfx::D3DFMT_UNKNOWN ? named : static_cast<gfx::D3DFORMAT>(node.AsInt());
}

// A 32-bit colour written as a number, used as it stands.
gfx::D3DCOLOR ColorWord(const UdfTextNode& node) {
    const double value = node.AsReal();
    if (!std::isfinite(value) || value <= -2147483649.0 || value >= 4294967296.0) return 0;
    return static_cast<gfx::D3DCOLOR>(static_cast<int64_t>(value));
}

int Channel(const UdfTextNode& node, const char* index, const char* letter) {
    const UdfTextNode* channel = node.FindChild(index);
    if (!channel) channel = node.FindChild(letter);
    return channel ? channel->AsInt() & 0xFF : 0;
}

}  // namespace

Charset::~Charset() {
    if (texture) texture->Release();
}

bool Charset::Load(const MediaFiles& media, TextureManager& textures) {
    UdfTextNode root;
    return ParseMediaText(name_, media, root) && Load(root, media, textures);
}

bool Charset::Load(const UdfTextNode& root, const MediaFiles& media, TextureManager& textures) {
    if (!ReadKeys(root)) return false;
    const UdfTextNode* fileName = root.FindChild("Name");
    if (!LoadTexture(fileName ? fileName->AsString() : EngineString(), media, textures)) {
        LogError("", "Error: font texture loading failed\n");
        return false;
    }
    CutGrid();
    if (const UdfTextNode* rects = root.FindChild("Rects")) ReadRects(*rects);
    return true;
}

bool Charset::ReadKeys(const UdfTextNode& root) {
    ReadInt(root, "StartChar", startChar);
    ReadInt(root, "EndChar", endChar);
    ReadInt(root, "CharsPerLine", charsPerLine);
    ReadInt(root, "CharWidth", charWidth);
    ReadInt(root, "CharHeight", charHeight);
    if (const UdfTextNode* node = root.FindChild("Format")) format = FormatOf(*node);
    // The grid needs a line length, and a damaged range must not size the tables.
    if (endChar < startChar || startChar < 0 || endChar > kLastCharacter || charsPerLine <= 0) return false;
    if (const UdfTextNode* key = root.FindChild("ColorKey")) {
        colorKey = key->ChildCount() > 0
                       ? 0xFF000000u | Channel(*key, "0", "r") << 16 | Channel(*key, "1", "g") << 8 | Channel(*key, "2", "b")
                       : ColorWord(*key);
    }
    widths.assign(static_cast<size_t>(endChar - startChar + 1), 0);
    if (const UdfTextNode* sizes = root.FindChild("Sizes")) ReadSizes(*sizes);
    return true;
}

void Charset::ReadSizes(const UdfTextNode& sizes) {
    for (const auto& entry : sizes.Children()) {
        const int index = IndexOf(entry.name, startChar);
        // An index outside the table is damage: skip it.
        if (index >= 0 && static_cast<size_t>(index) < widths.size())
            widths[static_cast<size_t>(index)] = static_cast<uint8_t>(entry.node->AsInt());
    }
}

bool Charset::LoadTexture(const EngineString& fileName, const MediaFiles& media, TextureManager& textures) {
    if (fileName.empty()) return false;
    TextureDescriptor request;
    request.source = media(MediaName(fileName));
    request.format = format;
    request.colorKey = colorKey;
    request.mask = TextureDescriptor::kFormat | TextureDescriptor::kColorKey;
    texture = textures.GetTexture(request, nullptr);
    if (texture && (texture->LevelDesc().Width == 0 || texture->LevelDesc().Height == 0)) {
        texture->Release();
        texture = nullptr;
    }
    return texture != nullptr;
}

void Charset::CutGrid() {
    const auto W = static_cast<float>(texture->LevelDesc().Width);
    const auto H = static_cast<float>(texture->LevelDesc().Height);
    const int x0 = texture->HasRect() ? texture->Rect().left : 0;
    const int y0 = texture->HasRect() ? texture->Rect().top : 0;
    uvRects.resize(widths.size());
    for (size_t d = 0; d < widths.size(); ++d) {
        const int row = static_cast<int>(d) / charsPerLine, column = static_cast<int>(d) % charsPerLine;
        // In 64 bits: a damaged cell size times a column must not overflow.
        const auto left = static_cast<float>(int64_t{x0} + int64_t{column} * charWidth);
        const auto top = static_cast<float>(int64_t{y0} + int64_t{row} * charHeight);
        uvRects[d] = {left / W, top / H, (left + widths[d]) / W, (top + static_cast<float>(charHeight)) / H};
    }
}

void Charset::ReadRects(const UdfTextNode& rects) {
    const auto W = static_cast<float>(texture->LevelDesc().Width);
    const auto H = static_cast<float>(texture->LevelDesc().Height);
    for (const auto& entry : rects.Children()) {
        const std::string_view name = entry.name.view();
        const UdfTextNode& values = *entry.node;
        if (values.ChildCount() != 4 || name.size() < 2 || name[0] != '"') continue;
        const bool oneCharacter = name.size() == 2 || (name.size() == 3 && name[2] == '"');
        const int index = IndexOf(entry.name, startChar);
        if (!oneCharacter || index < 0 || static_cast<size_t>(index) >= widths.size()) continue;
        int edge[4] = {};
        int i = 0;
        for (const auto& value : values.Children()) edge[i++] = value.node->AsInt();
        const auto [left, top, right, bottom] = edge;
        // A rectangle drawn backwards is damage: it gets no width rather than a wrapped one. In 64
        // bits, as edges far apart would overflow.
        widths[static_cast<size_t>(index)] =
            static_cast<uint8_t>(std::clamp<int64_t>(int64_t{right} - left + 1, 0, 255));
        uvRects[static_cast<size_t>(index)] = {static_cast<float>(left) / W, static_cast<float>(top) / H,
                                               static_cast<float>(right) / W, static_cast<float>(bottom) / H};
    }
}
