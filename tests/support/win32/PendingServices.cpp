// The services whose Windows implementations are still to come (the system's message boxes and
// dialogs, windows, input, the registry store), as the Windows test programs link them: those
// programs install their own fakes, so reaching one of these is a fault of the test. Each entry
// goes when its real implementation lands in src/platform.

#include <cstdio>
#include <cstdlib>

#include "platform/sys/System.h"

namespace {

[[noreturn]] void Missing(const char* service) {
    std::fprintf(stderr, "%s has no Windows implementation yet: install a fake before using it\n", service);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

namespace sys {

System& PlatformSystem() { Missing("sys::System"); }

}  // namespace sys
