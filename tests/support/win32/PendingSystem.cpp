#include "platform/sys/System.h"
#include "support/win32/Missing.h"

namespace sys {

System& PlatformSystem() { MissingOnWindows("sys::System"); }

}  // namespace sys
