#include "platform/sys/HostWindow.h"

namespace sys {

namespace {
uint64_t g_hostWindow = 0;
}

uint64_t HostWindow() { return g_hostWindow; }

void SetHostWindow(uint64_t nativeId) { g_hostWindow = nativeId; }

}  // namespace sys
