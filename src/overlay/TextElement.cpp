#include "overlay/TextElement.h"

#include <algorithm>
#include <cmath>

#include "udf/UdfTextNode.h"

namespace {

uint32_t ColorOf(const UdfTextNode& node) {
    const double value = node.AsReal();
    return std::isfinite(value) && value >= 0.0 && value < 4294967296.0 ? static_cast<uint32_t>(value) : 0;
}

}  // namespace

TextElement::TextElement() {
    text_.reserve(kReservedCharacters);
    vertices_.reserve((kReservedCharacters + 1) * 6);
    runs_.reserve(4);
}

void TextElement::ReadAttributes(const UdfTextNode& node) {
    Attributes& a = attributes_;
    if (const UdfTextNode* n = node.FindChild("Size")) a.size = std::max(0, n->AsInt());
    if (const UdfTextNode* n = node.FindChild("CharSpace")) a.charSpace = n->AsInt();
    if (const UdfTextNode* n = node.FindChild("RowSpace")) a.rowSpace = n->AsInt();
    if (const UdfTextNode* n = node.FindChild("Color")) a.color = ColorOf(*n);
    if (const UdfTextNode* n = node.FindChild("BGColor")) a.bgColor = ColorOf(*n);
    if (const UdfTextNode* n = node.FindChild("TextFloat")) {
        const std::string_view value = n->Value().view();
        a.textFloat = EqualsIgnoreCase(value, "right")    ? Float::kRight
                      : EqualsIgnoreCase(value, "center") ? Float::kCenter
                                                           : Float::kLeft;
    }
}

void TextElement::SetText(std::string_view text) {
    text_.resize(text.size());
    std::transform(text.begin(), text.end(), text_.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
}

void TextElement::AddGlyph(const Charset& charset, int ch, float x, float y, float scale) {
    const TextureRect& rect = charset.Rect(ch);
    const auto textureHeight = static_cast<float>(charset.texture->LevelDesc().Height);
    const float width = static_cast<float>(charset.Width(ch)) * scale;
    const float height = (rect.bottom - rect.top) * textureHeight * scale;
    const Texture* texture = charset.texture;
    if (runs_.empty() || runs_.back().texture != texture) runs_.push_back({texture, vertices_.size(), 0});
    vertices_.resize(vertices_.size() + 6);
    WriteQuad(&vertices_[vertices_.size() - 6], x, y, x + width, y + height, rect.left, rect.top, rect.right,
              rect.bottom, attributes_.color);
    runs_.back().count += 6;
}

void TextElement::Layout(int width) {
    vertices_.clear();
    runs_.clear();
    textWidth_ = textHeight_ = 0;
    const FontStyle* style = font_ ? font_->StyleFor(attributes_.size) : nullptr;
    if (!style || style->Size() <= 0) return;
    const int size = attributes_.size > 0 ? attributes_.size : style->Size();
    const float scale = static_cast<float>(size) / static_cast<float>(style->Size());
    const int rowHeight = size + attributes_.rowSpace;

    // The background first, so the glyphs draw over it; its box is known once the text is.
    const bool background = (attributes_.bgColor >> 24) != 0;
    if (background) {
        runs_.push_back({nullptr, 0, 6});
        vertices_.resize(6);
    }
    int rowTop = 0;
    size_t rowStart = vertices_.size();
    float pen = 0.0f;
    // Aligns the finished row and starts the next one.
    const auto endRow = [&]() {
        const int rowWidth = static_cast<int>(std::ceil(std::max(0.0f, pen - static_cast<float>(attributes_.charSpace))));
        textWidth_ = std::max(textWidth_, rowWidth);
        const int free = width - rowWidth;
        const int shift = attributes_.textFloat == Float::kRight ? free : attributes_.textFloat == Float::kCenter ? free / 2 : 0;
        for (size_t i = rowStart; i < vertices_.size(); ++i) vertices_[i].x += static_cast<float>(shift);
        rowStart = vertices_.size();
        pen = 0.0f;
    };
    for (const char16_t c : text_) {
        if (c == u'\n') {
            endRow();
            rowTop += rowHeight;
            continue;
        }
        const Charset* charset = style->CharsetFor(c);
        if (!charset || charset->Width(c) == 0) continue;
        AddGlyph(*charset, c, pen, static_cast<float>(rowTop), scale);
        pen += static_cast<float>(charset->Width(c)) * scale + static_cast<float>(attributes_.charSpace);
    }
    endRow();
    textHeight_ = rowTop + size;
    if (background) {
        const int left = attributes_.textFloat == Float::kRight    ? width - textWidth_
                         : attributes_.textFloat == Float::kCenter ? (width - textWidth_) / 2
                                                                    : 0;
        WriteQuad(vertices_.data(), static_cast<float>(left), 0.0f, static_cast<float>(left + textWidth_),
                  static_cast<float>(textHeight_), 0, 0, 0, 0, attributes_.bgColor);
    }
}

void TextElement::Draw(QuadBatch& batch, float x, float y) const {
    for (const Run& run : runs_) {
        gfx::Texture* texture = run.texture ? run.texture->D3DTexture() : nullptr;
        if (run.texture && !texture) continue;  // not made again yet: no glyphs rather than blocks
        batch.Add(texture, std::span<const OverlayVertex>(vertices_).subspan(run.first, run.count), x, y);
    }
}
