#include "platform/sys/InputDevices.h"
#include "support/win32/Missing.h"

namespace sys {

InputDevices& PlatformInputDevices() { MissingOnWindows("sys::InputDevices"); }

}  // namespace sys
