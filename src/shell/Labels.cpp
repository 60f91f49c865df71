#include "shell/Labels.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kInterfaceFontSize = 14;
constexpr int kClockFontSize = 64;
// Keeps the time's last letter off the screen's edge.
constexpr float kClockMargin = 10.0f;

int Scaled(float size, float s) { return std::max(1, static_cast<int>(std::lround(size * s))); }

}  // namespace

TextLabel* AddFrameRateLabel(WindowManager& overlay, float s) {
    // Twice the interface font's size, so the figure reads at a glance.
    return overlay.AddWindow<TextLabel>(OverlayWindow::Box{10, 10, 256, 128}, overlay.FindFont(kInterfaceFontName),
                                        TextElement::Attributes{.size = Scaled(2 * kInterfaceFontSize, s)}, "100");
}

TextLabel* AddClockLabel(WindowManager& overlay, float s, bool twentyFourHour) {
    const int width = static_cast<int>(std::trunc((twentyFourHour ? 290.0f : 350.0f) * s));
    const int height = static_cast<int>(std::trunc(74.0f * s));
    return overlay.AddWindow<TextLabel>(
        OverlayWindow::Box{200, 300, width, height}, overlay.FindFont(kClockFontName),
        TextElement::Attributes{.size = Scaled(kClockFontSize, s), .textFloat = TextElement::Float::kRight}, "11",
        static_cast<int>(std::trunc(kClockMargin * s)));
}
