#include "platform/sys/SettingsStore.h"

#include "platform/sys/Installable.h"

namespace sys {

SettingsStore& PlatformSettingsStore();  // the platform's implementation, linked in

SettingsStore& GetSettingsStore() { return Installable<SettingsStore, PlatformSettingsStore>::Get(); }

void SetSettingsStore(SettingsStore* store) { Installable<SettingsStore, PlatformSettingsStore>::Set(store); }

}  // namespace sys
