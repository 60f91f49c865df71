#include "platform/gfx/HiddenWindow.h"

#include <windows.h>

namespace gfx {
namespace {

constexpr const char* kClassName = "QuelmontHiddenWindow";

// The class is registered once per process; a second registration fails harmlessly.
bool RegisterClassOnce() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HiddenWindow::HiddenWindow(int width, int height) {
    if (!RegisterClassOnce()) return;
    // Not shown: WS_VISIBLE is left out. The client area is the size asked for.
    ::RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HiddenWindow::~HiddenWindow() {
    if (window_) DestroyWindow(static_cast<HWND>(window_));
}

const char* HiddenWindow::Error() const { return "CreateWindowEx failed"; }

}  // namespace gfx
