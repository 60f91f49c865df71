#pragma once
// A text drawn with a bitmap font inside its window: the glyph quads are laid out when the text
// or an attribute changes, and drawn as they are every frame.

#include <cstdint>
#include <string_view>
#include <vector>

#include "overlay/Font.h"
#include "overlay/QuadBatch.h"

class UdfTextNode;

class TextElement {
public:
    enum class Float { kLeft, kCenter, kRight };

    struct Attributes {
        int size = 0;            // glyph height in pixels; 0: the chosen style's own size
        int charSpace = 0;       // extra pixels after each character
        int rowSpace = 0;        // extra pixels between rows
        uint32_t color = 0xFFFFFFFF;
        uint32_t bgColor = 0;    // behind the text's box; alpha 0 draws nothing
        Float textFloat = Float::kLeft;
    };

    // Texts up to this length lay out without allocating.
    static constexpr size_t kReservedCharacters = 64;

    TextElement();

    // The element's keys: "Size", "CharSpace", "RowSpace", "Color", "BGColor" (ARGB numbers)
    // and "TextFloat" ("left", "center", "right"). "FontName" is looked up by the window
    // manager, which calls SetFont.
    void ReadAttributes(const UdfTextNode& node);
    void SetAttributes(const Attributes& attributes) { attributes_ = attributes; }
    const Attributes& GetAttributes() const { return attributes_; }
    void SetFont(const Font* font) { font_ = font; }
    const Font* GetFont() const { return font_; }

    // 8-bit text; its characters are the codes 0 to 255.
    void SetText(std::string_view text);
    std::u16string_view Text() const { return {text_.data(), text_.size()}; }

    // Lays the glyphs out for a box `width` pixels wide; rows start at the box's top.
    void Layout(int width);
    // The size of the laid-out text.
    int TextWidth() const { return textWidth_; }
    int TextHeight() const { return textHeight_; }

    // Adds the glyph quads with the box's top left corner at (x, y).
    void Draw(QuadBatch& batch, float x, float y) const;

    // The glyph quads of the last layout, six vertices each, relative to the box.
    std::span<const OverlayVertex> Vertices() const { return vertices_; }

private:
    // A run keeps the manager's texture, not its device texture: a device loss makes the device
    // texture anew while the laid-out text stays.
    struct Run {
        const Texture* texture;  // null: the background, drawn in its vertex colour
        size_t first, count;
    };
    void AddGlyph(const Charset& charset, int ch, float x, float y, float scale);

    const Font* font_ = nullptr;
    Attributes attributes_;
    std::vector<char16_t> text_;
    std::vector<OverlayVertex> vertices_;
    std::vector<Run> runs_;
    int textWidth_ = 0;
    int textHeight_ = 0;
};
