#include "platform/sys/InputDevices.h"

#include "platform/sys/Installable.h"

namespace sys {

InputDevices& PlatformInputDevices();  // the platform's implementation, linked in

InputDevices& GetInputDevices() { return Installable<InputDevices, PlatformInputDevices>::Get(); }

void SetInputDevices(InputDevices* devices) { Installable<InputDevices, PlatformInputDevices>::Set(devices); }

}  // namespace sys
