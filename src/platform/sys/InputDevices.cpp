#include "platform/sys/InputDevices.h"

namespace sys {

InputDevices& PlatformInputDevices();  // the platform's implementation, linked in

namespace {
InputDevices* g_devices = nullptr;
}

InputDevices& GetInputDevices() { return g_devices ? *g_devices : PlatformInputDevices(); }

void SetInputDevices(InputDevices* devices) { g_devices = devices; }

}  // namespace sys
