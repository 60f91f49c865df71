#pragma once
// Settings in a key file: $XDG_CONFIG_HOME/quelmont/settings.ini (~/.config when unset), read
// line by line (KeyFileText), so a damaged line costs only itself. The registry key path is the
// group name; DWORD values are written "dword:XXXXXXXX" and texts "sz:..." so each value keeps
// its type.

#include <string>

#include "platform/sys/SettingsStore.h"

namespace sys {

class KeyFileSettingsStore final : public SettingsStore {
public:
    // The file path is read from the environment at each open, so tests can point it elsewhere.
    std::unique_ptr<SettingsKey> OpenKey(std::string_view subkey, KeyAccess access) override;
    static std::string FilePath();
};

}  // namespace sys
