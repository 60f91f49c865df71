#include "shell/RenderFramework.h"

namespace {
RenderFramework* g_framework = nullptr;
}

RenderFramework* GetFramework() { return g_framework; }

RenderFramework::RenderFramework() { g_framework = this; }

RenderFramework::~RenderFramework() {
    if (g_framework == this) g_framework = nullptr;
}

sys::LResult RenderFramework::MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam,
                                      sys::LParam lParam) {
    for (MessageListener* listener : messageListeners_) listener->OnMessage(window, message, wParam, lParam);
    return 0;
}

bool RenderFramework::OnDeviceReset() {
    bool ok = true;
    for (DeviceListener* listener : deviceListeners_) ok = listener->OnDeviceReset() && ok;
    return ok;
}

bool RenderFramework::OnDeviceLost() {
    bool ok = true;
    for (DeviceListener* listener : deviceListeners_) ok = listener->OnDeviceLost() && ok;
    return ok;
}

// No graphics device exists in this build yet, so the framework cannot be created.
bool RenderFramework::Create(void* instance, sys::Window* window) {
    instance_ = instance;
    renderWindow_ = window;
    return false;
}

bool RenderFramework::CheckDevice() { return false; }

bool RenderFramework::AddDeviceListener(DeviceListener* listener) {
    if (!HasDevice()) return false;
    deviceListeners_.insert(listener);
    return true;
}

void RenderFramework::GetClientArea(int& x, int& y, int& width, int& height) const {
    x = clientRect_.left;
    y = clientRect_.top;
    width = clientRect_.Width();
    height = clientRect_.Height();
}
