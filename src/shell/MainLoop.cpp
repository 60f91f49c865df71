// The main loop.

#include "common/Log.h"
#include "platform/sys/System.h"
#include "shell/Application.h"

namespace {
constexpr int64_t kKeepAlivePeriodMs = 30000;
// An inactive window draws nothing; the loop wakes this often for its labels, input and
// keep-alive key rather than spinning a core.
constexpr uint32_t kInactiveWaitMs = 100;
}  // namespace

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
    int x = 0, y = 0, width = 0, height = 0;
    GetClientArea(x, y, width, height);
    labels_.Refresh(settings, frameRate_.Rate(), width, height);
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
    labels_.ResetTimer();
    keepAliveTimer_.Reset();
    bool firstFrameDone = false;
    while (!exitRequested_) {
        if (mode_ == RunMode::Preview) {
            // The preview only paints its picture: wait for messages instead of spinning.
            if (!saverWindow_.DispatchNextMessage()) break;
            continue;
        }
        saverWindow_.PumpMessages(exitRequested_);
        if (!RunFramePass(firstFrameDone)) break;
        if (!active_) saverWindow_.WaitForMessage(kInactiveWaitMs);
    }
    Shutdown();
    OnExitFinal();
    ReleaseDevice();  // the device draws into the window
    saverWindow_.Destroy();
    sys::GetWindowSystem().ShowCursor(true);
    LogError("", "Log closed\n");
    return 1;
}
