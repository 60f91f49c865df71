#include "platform/sys/SettingsStore.h"
#include "support/win32/Missing.h"

namespace sys {

SettingsStore& PlatformSettingsStore() { MissingOnWindows("sys::SettingsStore"); }

}  // namespace sys
