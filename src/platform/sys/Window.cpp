#include "platform/sys/Window.h"

namespace sys {

WindowSystem& PlatformWindowSystem();  // the platform's implementation, linked in

namespace {
WindowSystem* g_windows = nullptr;
}

WindowSystem& GetWindowSystem() { return g_windows ? *g_windows : PlatformWindowSystem(); }

void SetWindowSystem(WindowSystem* windows) { g_windows = windows; }

}  // namespace sys
