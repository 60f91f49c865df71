#include "shell/ScreenSaverWindow.h"

#include "common/EngineString.h"
#include "common/Log.h"
#include "media/Manifest.h"
#include "platform/sys/HostWindow.h"
#include "platform/sys/Resources.h"
#include "platform/sys/System.h"

namespace {

constexpr const char* kSaverClassName = "Quelmont Class";
constexpr uint32_t kPreviewTimerId = 1;
constexpr uint32_t kPreviewTimerPeriodMs = 500;
constexpr int kPreviewBitmapId = manifest::kPreviewBitmap.id;

}  // namespace

bool ScreenSaverWindow::Create(RunMode mode, uint32_t parentWindow, const SettingsRecord& settings,
                               sys::WindowProc procedure) {
    mode_ = mode;
    if (mode_ == RunMode::Configure) return true;
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::WindowClass windowClass{kSaverClassName, mode_ == RunMode::Preview ? sys::CS_HREDRAW | sys::CS_VREDRAW : 0u,
                                 procedure};
    const uint16_t atom = windows.RegisterClass(windowClass);
    Log("Register class return: " + EngineString(uint32_t{atom}, 10) + "\n");

    sys::WindowParams params;
    params.className = kSaverClassName;
    params.title = kTitle;
    if (mode_ == RunMode::Preview) {
        params.box = {100, 100, 150, 150};
        if (parentWindow != 0) windows.GetForeignClientRect(parentWindow, params.box);
        params.style = sys::WS_CHILD | sys::WS_VISIBLE;
        params.parent = parentWindow;
    } else if ((mode_ == RunMode::Saver || mode_ == RunMode::Test) && sys::HostWindow() != 0) {
        // Inside a desktop host's window: drawn on it at its size.
        hosted_ = true;
        params.style = sys::WS_CHILD | sys::WS_VISIBLE;
        params.parent = sys::HostWindow();
        windows.GetForeignClientRect(params.parent, params.box);
    } else if (mode_ == RunMode::Saver || mode_ == RunMode::Test) {
        params.style = sys::WS_POPUP | sys::WS_VISIBLE;
        params.box = settings.UseDesktop ? sys::Rect{0, 0, 10, 10} : sys::Rect{0, 0, settings.Width, settings.Height};
    } else {
        return false;
    }
    window_ = windows.CreateWindow(params);
    return window_ != nullptr;
}

void ScreenSaverWindow::WaitForPreviewStart() {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::GetSystem().SetThreadPriority(sys::THREAD_PRIORITY_IDLE);
    previewWait_ = true;
    windows.PostMessage(window_.get(), sys::WM_USER, 0, 0);
    sys::Message message;
    while (previewWait_) {
        const int got = windows.GetMessage(message, window_.get());
        if (got == 0) {
            windows.PostQuitMessage(0);
            break;
        }
        if (got < 0) break;
        windows.DispatchMessage(message);
    }
}

void ScreenSaverWindow::OnMessage(sys::WindowHandle window, uint32_t message) {
    switch (message) {
        case sys::WM_PAINT:
            if (mode_ == RunMode::Preview && window)
                window->PaintBitmap(sys::GetResources().Find("BITMAP", kPreviewBitmapId), 0, 0);
            break;
        case sys::WM_TIMER:
            previewWait_ = false;
            sys::GetWindowSystem().KillTimer(window, kPreviewTimerId);
            break;
        case sys::WM_USER: sys::GetWindowSystem().SetTimer(window, kPreviewTimerId, kPreviewTimerPeriodMs); break;
        default: break;
    }
}

void ScreenSaverWindow::PumpMessages(const bool& exitRequested) {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::Message message;
    while (!exitRequested && windows.PeekMessage(message, window_.get())) windows.DispatchMessage(message);
}

bool ScreenSaverWindow::DispatchNextMessage() {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::Message message;
    if (windows.GetMessage(message, window_.get()) <= 0) return false;
    windows.DispatchMessage(message);
    return true;
}

void ScreenSaverWindow::WaitForMessage(uint32_t timeoutMs) { sys::GetWindowSystem().WaitMessage(window_.get(), timeoutMs); }

void ScreenSaverWindow::Destroy() {
    if (!window_) return;
    sys::GetWindowSystem().DestroyWindow(window_.get());
    window_.reset();
}
