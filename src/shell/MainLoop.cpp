// The main loop and the frame.

#include <charconv>

#include "common/Log.h"
#include "platform/sys/System.h"
#include "shell/Application.h"
#include "shell/ClockText.h"

namespace {
constexpr int64_t kKeepAlivePeriodMs = 30000;
constexpr int64_t kLabelPeriodMs = 1000;
// An inactive window draws nothing; the loop wakes this often for its labels, input and
// keep-alive key rather than spinning a core.
constexpr uint32_t kInactiveWaitMs = 100;
}  // namespace

void Application::PumpMessages() {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::Message message;
    while (!exitRequested_ && windows.PeekMessage(message, saverWindow_.get())) windows.DispatchMessage(message);
}

void Application::RefreshLabels() {
    if (settings.ShowFps && frameRateLabel_ && labelTimer_.IntervalElapsed(kLabelPeriodMs)) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(frameRate_.Rate())).ptr;
        frameRateLabel_->SetText(std::string_view(digits, static_cast<size_t>(end - digits)));
        frameRateLabel_->RefreshLayout();
    }
    int x = 0, y = 0, width = 0, height = 0;
    GetClientArea(x, y, width, height);
    if (settings.ShowTime && clockLabel_) {
        ClockTextBuffer text;
        clockLabel_->SetText(FormatClockText(sys::GetSystem().GetLocalTime(), settings.TimeStyle, text));
        clockLabel_->RefreshLayout();
        int labelWidth = 0, labelHeight = 0;
        clockLabel_->GetSize(labelWidth, labelHeight);
        clockLabel_->MoveTo(width - labelWidth, height - labelHeight);
    }
}

// One pass of the loop after the message pump; false when the loop must end.
bool Application::RunFramePass(bool& firstFrameDone) {
    if (keepAliveTimer_.IntervalElapsed(kKeepAlivePeriodMs)) {
        sys::GetSystem().SendKeepAliveKey(sys::VK_F3);
        keepAliveTimer_.Reset();
    }
    if (exitRequested_) {
        Log("2.exit\n");
        return false;
    }
    if (frameRate_.Count(NowMs())) frameRate_.RestartWindow(NowMs());
    RefreshLabels();
    input_.Poll(0);
    input_.Dispatch();
    Tick();
    cameraControl_.Update();
    if (!active_) return true;
    if (!firstFrameDone) Log("Active Frame1 start\n");
    Update();
    if (!firstFrameDone) Log("Do Render started\n");
    RenderFrame();
    if (!firstFrameDone) {
        Log("Active Frame1 end\n");
        firstFrameDone = true;
    }
    return true;
}

int Application::RunMainLoop() {
    frameRate_.Start(NowMs());
    labelTimer_.Reset();
    keepAliveTimer_.Reset();
    bool firstFrameDone = false;
    sys::WindowSystem& windows = sys::GetWindowSystem();
    while (!exitRequested_) {
        if (mode_ == RunMode::Preview) {
            // The preview only paints its picture: wait for messages instead of spinning.
            sys::Message message;
            const int got = windows.GetMessage(message, saverWindow_.get());
            if (got <= 0) break;
            windows.DispatchMessage(message);
            continue;
        }
        PumpMessages();
        if (!RunFramePass(firstFrameDone)) break;
        if (!active_) windows.WaitMessage(saverWindow_.get(), kInactiveWaitMs);
    }
    Shutdown();
    OnExitFinal();
    ReleaseDevice();  // the device draws into the window
    if (saverWindow_) {
        windows.DestroyWindow(saverWindow_.get());
        saverWindow_.reset();
    }
    windows.ShowCursor(true);
    LogError("", "Log closed\n");
    return 1;
}

