#pragma once
// A window holding one line of text: the frame-rate and time labels. Its box grows to fit a
// text wider than itself, so a corner placement never cuts the text; a right margin keeps
// right-aligned text off the box's edge.

#include <string_view>

#include "overlay/OverlayWindow.h"

class TextLabel : public OverlayWindow {
public:
    TextLabel(Box box, const Font* font, const TextElement::Attributes& attributes, std::string_view text,
              int rightMargin = 0);

    void SetText(std::string_view text) { text_.SetText(text); }
    void RefreshLayout() override;
    void GetSize(int& width, int& height) const {
        width = box_.width;
        height = box_.height;
    }
    void MoveTo(int x, int y) {
        box_.left = x;
        box_.top = y;
    }
    const TextElement& Text() const { return text_; }

private:
    TextElement& text_;
    int rightMargin_;
};
