#pragma once
// A bitmap font described by a font file (.fs): a name and its styles, each style a size with
// flags and the charsets that hold its glyphs.

#include <cstdint>
#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "overlay/Charset.h"

class TextureManager;
class UdfTextNode;

class FontStyle {
public:
    enum Flags : uint32_t { kBold = 1, kItalic = 2 };

    FontStyle(int size, uint32_t flags, EngineString fontName)
        : size_(size), flags_(flags), fontName_(std::move(fontName)) {}

    int Size() const { return size_; }
    uint32_t Flags() const { return flags_; }
    const EngineString& FontName() const { return fontName_; }
    const std::vector<std::unique_ptr<Charset>>& Charsets() const { return charsets_; }
    void AddCharset(std::unique_ptr<Charset> charset) { charsets_.push_back(std::move(charset)); }
    // The first loaded charset that has a cell for `ch`; null when none has.
    const Charset* CharsetFor(int ch) const;

    friend bool operator==(const FontStyle& a, const FontStyle& b) {
        return a.size_ == b.size_ && a.flags_ == b.flags_ && a.fontName_ == b.fontName_;
    }
    friend bool operator<(const FontStyle& a, const FontStyle& b) { return a.size_ < b.size_; }

private:
    int size_;
    uint32_t flags_;
    EngineString fontName_;
    std::vector<std::unique_ptr<Charset>> charsets_;
};

class Font {
public:
    // Reads the media file `path` and loads every charset of every style, their pictures
    // through `textures`. False when the file is missing or empty; a charset that fails is
    // reported and kept in its style.
    bool Load(const EngineString& path, const MediaFiles& media, TextureManager& textures);

    const EngineString& Name() const { return name_; }
    // Ordered by size.
    const std::vector<std::unique_ptr<FontStyle>>& Styles() const { return styles_; }
    // The style whose size is nearest to `size` (the smaller on a tie); null for a font without
    // styles.
    const FontStyle* StyleFor(int size) const;

private:
    // Keeps the order by size; a style equal to one already there gives its charsets to it.
    FontStyle& AddStyle(std::unique_ptr<FontStyle> style);

    EngineString name_;
    std::vector<std::unique_ptr<FontStyle>> styles_;
};
