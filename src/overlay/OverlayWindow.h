#pragma once
// A screen-space window of the overlay: a box placed from an anchor corner of the screen, with
// the text and image elements it draws.

#include <cstdint>
#include <memory>
#include <vector>

#include "overlay/ImageElement.h"
#include "overlay/QuadBatch.h"
#include "overlay/TextElement.h"

// A pointer event as the overlay sees it: the input event's type and position.
struct PointerEvent {
    uint32_t type = 0;
    float x = 0.0f, y = 0.0f;
};

class OverlayWindow {
public:
    // The screen corner the box's position is measured from (toward the screen's inside).
    enum class Anchor { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

    struct Box {
        int left = 0, top = 0, width = 0, height = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };

    explicit OverlayWindow(Box box, Anchor anchor = Anchor::kTopLeft) : box_(box), anchor_(anchor) {}
    virtual ~OverlayWindow() = default;

    const Box& GetBox() const { return box_; }
    void SetBox(const Box& box) { box_ = box; }
    Anchor GetAnchor() const { return anchor_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // The box on a screen of `width` x `height` pixels.
    Box ScreenBox(int screenWidth, int screenHeight) const;

    TextElement& AddText();
    ImageElement& AddImage();
    const std::vector<std::unique_ptr<TextElement>>& Texts() const { return texts_; }

    // Lays every text out for the box's width.
    virtual void RefreshLayout();
    void Draw(QuadBatch& batch, int screenWidth, int screenHeight) const;
    // An event of the pointer inside this window (the topmost visible one under it).
    virtual void OnInput(const PointerEvent& /*event*/) {}

protected:
    Box box_;

private:
    Anchor anchor_;
    bool visible_ = true;
    std::vector<std::unique_ptr<TextElement>> texts_;
    std::vector<std::unique_ptr<ImageElement>> images_;
};
