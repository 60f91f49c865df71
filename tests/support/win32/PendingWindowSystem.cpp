#include "platform/sys/Window.h"
#include "support/win32/Missing.h"

namespace sys {

WindowSystem& PlatformWindowSystem() { MissingOnWindows("sys::WindowSystem"); }

}  // namespace sys
