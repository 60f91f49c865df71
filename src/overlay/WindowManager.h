#pragma once
// The overlay layer: owns the bitmap fonts and the windows, draws the windows over the scene,
// and gives pointer events to the window under the pointer.

#include <memory>
#include <string_view>
#include <vector>

#include "common/EngineString.h"
#include "overlay/Font.h"
#include "overlay/OverlayWindow.h"
#include "overlay/QuadBatch.h"

class TextureManager;

class WindowManager {
public:
    // Loads a font file and keeps it; false when it does not load.
    bool LoadFont(const EngineString& path, const MediaFiles& media, TextureManager& textures);
    // The font of that name (as its file names it); null when none.
    const Font* FindFont(std::string_view name) const;

    // Client width / 1024: the windows are made with sizes scaled by it.
    void SetUiScale(float scale) { uiScale_ = scale; }
    float UiScale() const { return uiScale_; }

    template <typename Window, typename... Args>
    Window* AddWindow(Args&&... args) {
        auto window = std::make_unique<Window>(std::forward<Args>(args)...);
        Window* added = window.get();
        windows_.push_back(std::move(window));
        return added;
    }
    const std::vector<std::unique_ptr<OverlayWindow>>& Windows() const { return windows_; }

    // Draws every visible window on a `width` x `height` screen, in the order they were added.
    void Draw(gfx::Device& device, int width, int height);
    void OnDeviceLost() { batch_.OnDeviceLost(); }
    uint32_t LastDrawCalls() const { return batch_.DrawCalls(); }

    // The topmost visible window under the pointer gets the event.
    void OnPointerEvent(const PointerEvent& event);

private:
    std::vector<std::unique_ptr<Font>> fonts_;
    std::vector<std::unique_ptr<OverlayWindow>> windows_;
    QuadBatch batch_;
    float uiScale_ = 1.0f;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
};
