// Reading and writing the user's settings under the settings key.

#include "common/Log.h"
#include "platform/sys/SettingsStore.h"
#include "shell/Application.h"
#include "shell/SettingsTable.h"

namespace {

// A value the user or another program damaged keeps the current setting (wrong type) or is
// limited to its range; either way the trace says so.
void ReadSetting(const sys::SettingsKey& key, const SettingField& field, SettingsRecord& settings) {
    uint32_t value = 0;
    if (!key.QueryDword(field.name, value)) {
        if (key.Contains(field.name))
            Log(EngineString("Setting ") + field.name + " is not a number: kept " +
                EngineString(field.Get(settings), 10) + "\n");
        return;
    }
    const int32_t stored = static_cast<int32_t>(value);
    field.Set(settings, stored);
    if (!field.IsSwitch() && field.Get(settings) != stored)
        Log(EngineString("Setting ") + field.name + " = " + EngineString(stored, 10) + " is out of range: used " +
            EngineString(field.Get(settings), 10) + "\n");
}

}  // namespace

bool Application::LoadSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    if (!key) return false;
    for (const SettingField& field : kSettingFields) ReadSetting(*key, field, settings);
    key->Close();
    return true;
}

bool Application::SaveSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Write);
    if (!key) return false;
    WriteSettings(*key);
    return key->Close();
}

void Application::WriteSettings(sys::SettingsKey& key) const {
    for (const SettingField& field : kSettingFields) key.SetDword(field.name, static_cast<uint32_t>(field.Get(settings)));
}
