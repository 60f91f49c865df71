#include "shell/LabelOverlay.h"

#include <charconv>

#include "common/Log.h"
#include "platform/sys/System.h"
#include "shell/ClockText.h"
#include "shell/Labels.h"

namespace {
constexpr int64_t kLabelPeriodMs = 1000;
}  // namespace

bool LabelOverlay::SetUp(float uiScale, const SettingsRecord& settings, const MediaFiles& media,
                         TextureManager& textures) {
    overlay_.SetUiScale(uiScale);
    if (!overlay_.LoadFont("/sylfaen.fs", media, textures)) {
        Log("Sylfaen font loading failed\n");
        LogError("", "Error: Sylfaen font loading failed\n");
        return false;
    }
    if (!overlay_.LoadFont("/64font.fs", media, textures)) {
        Log("64th font loading failed\n");
        LogError("", "Error:  font loading failed\n");
    }
    if (settings.ShowFps) frameRateLabel_ = AddFrameRateLabel(overlay_, uiScale);
    if (settings.ShowTime) clockLabel_ = AddClockLabel(overlay_, uiScale, settings.TimeStyle);
    return true;
}

void LabelOverlay::Refresh(const SettingsRecord& settings, int64_t frameRate, int width, int height) {
    if (settings.ShowFps && frameRateLabel_ && labelTimer_.IntervalElapsed(kLabelPeriodMs)) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(frameRate)).ptr;
        frameRateLabel_->SetText(std::string_view(digits, static_cast<size_t>(end - digits)));
        frameRateLabel_->RefreshLayout();
    }
    if (settings.ShowTime && clockLabel_) {
        ClockTextBuffer text;
        clockLabel_->SetText(FormatClockText(sys::GetSystem().GetLocalTime(), settings.TimeStyle, text));
        clockLabel_->RefreshLayout();
        int labelWidth = 0, labelHeight = 0;
        clockLabel_->GetSize(labelWidth, labelHeight);
        clockLabel_->MoveTo(width - labelWidth, height - labelHeight);
    }
}

void LabelOverlay::PointerInput::OnInputEvent(const InputEvent& event) {
    if (event.type <= kMouseAxis) overlay_.OnPointerEvent({event.type, event.x, event.y});
}
