#include "platform/sys/SettingsStore.h"

namespace sys {

SettingsStore& PlatformSettingsStore();  // the platform's implementation, linked in

namespace {
SettingsStore* g_store = nullptr;
}

SettingsStore& GetSettingsStore() { return g_store ? *g_store : PlatformSettingsStore(); }

void SetSettingsStore(SettingsStore* store) { g_store = store; }

}  // namespace sys
