#pragma once
// One texture cut into character cells, described by a charset file (.css): which characters
// it holds, how wide each is, and where each lies in the texture.

#include <cstdint>
#include <vector>

#include "common/EngineString.h"
#include "platform/gfx/Types.h"
#include "overlay/MediaText.h"
#include "textures/Texture.h"

class TextureManager;
class UdfTextNode;

class Charset {
public:
    // Characters are 16-bit: a range outside that is damage, not a bigger font.
    static constexpr int kLastCharacter = 0xFFFF;

    explicit Charset(EngineString name) : name_(std::move(name)) {}
    ~Charset();
    Charset(const Charset&) = delete;
    Charset& operator=(const Charset&) = delete;

    // Reads the media file `name` and loads its texture (a media file too) through `textures`.
    // False when the file is missing or damaged or the texture does not load; a texture error
    // is reported to the error sink.
    bool Load(const MediaFiles& media, TextureManager& textures);
    // The same from a parsed file.
    bool Load(const UdfTextNode& root, const MediaFiles& media, TextureManager& textures);

    const EngineString& Name() const { return name_; }
    bool Loaded() const { return texture != nullptr; }
    // True when the charset is loaded and has a cell for `ch` (its width may be 0).
    bool Covers(int ch) const { return texture && ch >= startChar && ch <= endChar; }
    // Width in texture pixels and rectangle of a covered character.
    int Width(int ch) const { return widths[static_cast<size_t>(ch - startChar)]; }
    const TextureRect& Rect(int ch) const { return uvRects[static_cast<size_t>(ch - startChar)]; }

    int startChar = 0;
    int endChar = 256;
    int charsPerLine = 0;
    Texture* texture = nullptr;
    int charWidth = 14;
    int charHeight = 14;
    std::vector<uint8_t> widths;
    std::vector<TextureRect> uvRects;
    gfx::D3DFORMAT format = gfx::D3DFMT_A8R8G8B8;
    gfx::D3DCOLOR colorKey = 0;

private:
    bool ReadKeys(const UdfTextNode& root);
    void ReadSizes(const UdfTextNode& sizes);
    bool LoadTexture(const EngineString& fileName, const MediaFiles& media, TextureManager& textures);
    void CutGrid();
    void ReadRects(const UdfTextNode& rects);

    EngineString name_;
};
