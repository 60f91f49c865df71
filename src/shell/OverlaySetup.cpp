// The overlay's part of start-up: the two bitmap fonts, the labels and the input listeners.

#include "common/Log.h"
#include "shell/Application.h"
#include "shell/Labels.h"

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
    if (settings.ShowFps) frameRateLabel_ = AddFrameRateLabel(overlay_, uiScale_);
    if (settings.ShowTime) clockLabel_ = AddClockLabel(overlay_, uiScale_, settings.TimeStyle);
    // The overlay hears input before the application does.
    input_.AddListener(&overlayInput_);
    input_.AddListener(this);
    labelTimer_.Reset();
    return true;
}

void Application::OverlayInput::OnInputEvent(const InputEvent& event) {
    if (event.type <= kMouseAxis) overlay_.OnPointerEvent({event.type, event.x, event.y});
}
