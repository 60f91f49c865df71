#include "overlay/TextLabel.h"

#include <algorithm>

TextLabel::TextLabel(Box box, const Font* font, const TextElement::Attributes& attributes, std::string_view text)
    : OverlayWindow(box), text_(AddText()) {
    text_.SetFont(font);
    text_.SetAttributes(attributes);
    text_.SetText(text);
    RefreshLayout();
}

void TextLabel::RefreshLayout() {
    text_.Layout(box_.width);
    box_.height = std::max(box_.height, text_.TextHeight());
    if (text_.TextWidth() <= box_.width) return;
    box_.width = text_.TextWidth();
    text_.Layout(box_.width);
}
