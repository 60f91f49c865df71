// The overlay's part of start-up: the two bitmap fonts and the frame-rate and time labels.

#include <cmath>

#include "common/Log.h"
#include "shell/Application.h"

namespace {

// The names the font files give their fonts.
constexpr const char* kInterfaceFont = "Sylfaen";
constexpr const char* kClockFont = "64font";
constexpr int kInterfaceFontSize = 14;
constexpr int kClockFontSize = 64;
// Keeps the time's last letter off the screen's edge.
constexpr float kClockMargin = 10.0f;

}  // namespace

bool Application::SetUpOverlay(const MediaFiles& media) {
    overlay_.SetUiScale(uiScale_);
    if (!overlay_.LoadFont("/sylfaen.fs", media, *textures_)) {
        Log("Sylfaen font loading failed\n");
        LogError("", "Error: Sylfaen font loading failed\n");
        return false;
    }
    if (!overlay_.LoadFont("/64font.fs", media, *textures_)) {
        Log("64th font loading failed\n");
        LogError("", "Error:  font loading failed\n");
    }

    const float s = uiScale_;
    if (settings.ShowFps) {
        // Twice the interface font's size, so the figure reads at a glance.
        frameRateLabel_ = overlay_.AddWindow<TextLabel>(
            OverlayWindow::Box{10, 10, 256, 128}, overlay_.FindFont(kInterfaceFont),
            TextElement::Attributes{.size = std::max(1, static_cast<int>(std::lround(2 * kInterfaceFontSize * s)))},
            "100");
    }
    if (settings.ShowTime) {
        const int width = static_cast<int>(std::trunc((settings.TimeStyle ? 290.0f : 350.0f) * s));
        const int height = static_cast<int>(std::trunc(74.0f * s));
        clockLabel_ = overlay_.AddWindow<TextLabel>(
            OverlayWindow::Box{200, 300, width, height}, overlay_.FindFont(kClockFont),
            TextElement::Attributes{.size = std::max(1, static_cast<int>(std::lround(kClockFontSize * s))),
                                    .textFloat = TextElement::Float::kRight},
            "11", static_cast<int>(std::trunc(kClockMargin * s)));
    }

    input_.AddListener(&overlay_);
    input_.AddListener(this);
    labelTimer_.Reset();
    return true;
}
