#pragma once
// The 2D overlay over the scene with its two labels, the frame rate in the top-left corner and
// the time kept in the lower-right corner, and the listener through which it hears the pointer.

#include <cstdint>

#include "common/Timing.h"
#include "overlay/MediaText.h"
#include "overlay/TextLabel.h"
#include "overlay/WindowManager.h"
#include "shell/InputEvent.h"
#include "shell/SettingsRecord.h"

class TextureManager;

class LabelOverlay {
public:
    // Loads the interface and clock fonts and makes the labels `settings` ask for, sized for
    // `uiScale` (client width / 1024). False when the interface font does not load.
    bool SetUp(float uiScale, const SettingsRecord& settings, const MediaFiles& media, TextureManager& textures);
    // One loop pass: the frame rate once a second, the local time every pass at the lower-right
    // corner of a `width` x `height` client area.
    void Refresh(const SettingsRecord& settings, int64_t frameRate, int width, int height);
    // The frame rate's next refresh comes a second from now.
    void ResetTimer() { labelTimer_.Reset(); }

    WindowManager& Windows() { return overlay_; }
    // Hears input before the application does.
    InputListener& Listener() { return input_; }
    TextLabel* FrameRateLabel() const { return frameRateLabel_; }
    TextLabel* ClockLabel() const { return clockLabel_; }

private:
    class PointerInput final : public InputListener {
    public:
        explicit PointerInput(WindowManager& overlay) : overlay_(overlay) {}
        void OnInputEvent(const InputEvent& event) override;

    private:
        WindowManager& overlay_;
    };

    Stopwatch labelTimer_;
    WindowManager overlay_;
    PointerInput input_{overlay_};
    TextLabel* frameRateLabel_ = nullptr;
    TextLabel* clockLabel_ = nullptr;
};
