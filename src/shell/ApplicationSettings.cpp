// Reading and writing the user's settings under the settings key.

#include "platform/sys/SettingsStore.h"
#include "shell/Application.h"
#include "shell/SettingsTable.h"

bool Application::LoadSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    if (!key) return false;
    for (const SettingField& field : kSettingFields) {
        uint32_t value = 0;
        if (key->QueryDword(field.name, value)) field.Set(settings, static_cast<int32_t>(value));
    }
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
