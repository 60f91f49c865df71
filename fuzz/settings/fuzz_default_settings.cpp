// Any bytes as the default-settings file: parsed, then every setting looked up and the whole
// record filled from it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "SilentSystem.h"
#include "shell/DefaultSettings.h"
#include "shell/SettingsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentSystem system;
    sys::SetSystem(&system);
    DefaultSettings defaults;
    defaults.Parse(std::span<const uint8_t>(data, size));
    SettingsRecord record;
    defaults.LoadDefaults(record);
    for (const SettingField& field : kSettingFields) defaults.GetDefault(field.defaultKey);
    sys::SetSystem(nullptr);
    return 0;
}
