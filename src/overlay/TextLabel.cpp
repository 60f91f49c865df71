#include "overlay/TextLabel.h"

#include <algorithm>

TextLabel::TextLabel(Box box, const Font* font, const TextElement::Attributes& attributes, std::string_view text,
                     int rightMargin)
    : OverlayWindow(box), text_(AddText()), rightMargin_(rightMargin) {
    text_.SetFont(font);
    text_.SetAttributes(attributes);
    text_.SetText(text);
    RefreshLayout();
}

void TextLabel::RefreshLayout() {
    text_.Layout(box_.width - rightMargin_);
    box_.height = std::max(box_.height, text_.TextHeight());
    if (text_.TextWidth() + rightMargin_ <= box_.width) return;
    box_.width = text_.TextWidth() + rightMargin_;
    text_.Layout(box_.width - rightMargin_);
}
