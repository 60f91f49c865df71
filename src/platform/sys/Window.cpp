#include "platform/sys/Window.h"

#include "platform/sys/Installable.h"

namespace sys {

WindowSystem& PlatformWindowSystem();  // the platform's implementation, linked in

WindowSystem& GetWindowSystem() { return Installable<WindowSystem, PlatformWindowSystem>::Get(); }

void SetWindowSystem(WindowSystem* windows) { Installable<WindowSystem, PlatformWindowSystem>::Set(windows); }

}  // namespace sys
