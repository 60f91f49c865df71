#include "overlay/OverlayWindow.h"

OverlayWindow::Box OverlayWindow::ScreenBox(int screenWidth, int screenHeight) const {
    Box box = box_;
    if (anchor_ == Anchor::kTopRight || anchor_ == Anchor::kBottomRight) box.left = screenWidth - box_.left - box_.width;
    if (anchor_ == Anchor::kBottomLeft || anchor_ == Anchor::kBottomRight)
        box.top = screenHeight - box_.top - box_.height;
    return box;
}

TextElement& OverlayWindow::AddText() { return *texts_.emplace_back(std::make_unique<TextElement>()); }

ImageElement& OverlayWindow::AddImage() { return *images_.emplace_back(std::make_unique<ImageElement>()); }

void OverlayWindow::RefreshLayout() {
    for (const auto& text : texts_) text->Layout(box_.width);
}

void OverlayWindow::Draw(QuadBatch& batch, int screenWidth, int screenHeight) const {
    const Box box = ScreenBox(screenWidth, screenHeight);
    const auto x = static_cast<float>(box.left), y = static_cast<float>(box.top);
    for (const auto& image : images_) image->Draw(batch, x, y);
    for (const auto& text : texts_) text->Draw(batch, x, y);
}
