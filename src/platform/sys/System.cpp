#include "platform/sys/System.h"

#include "platform/sys/Installable.h"

namespace sys {

System& PlatformSystem();  // the platform's implementation, linked in

System& GetSystem() { return Installable<System, PlatformSystem>::Get(); }

void SetSystem(System* system) { Installable<System, PlatformSystem>::Set(system); }

}  // namespace sys
