#include "platform/sys/System.h"

namespace sys {

System& PlatformSystem();  // the platform's implementation, linked in

namespace {
System* g_system = nullptr;
}

System& GetSystem() { return g_system ? *g_system : PlatformSystem(); }

void SetSystem(System* system) { g_system = system; }

}  // namespace sys
