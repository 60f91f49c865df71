// The clock's settings: the picture path beside the engine's values, under the same key.

#include <string>

#include "clock/ClockApplication.h"
#include "common/Log.h"
#include "platform/sys/SettingsStore.h"

namespace {
constexpr size_t kPhotoPathBytes = 256;
}

bool ClockApplication::LoadSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    if (!key) {
        Log("Registry Failed\n");
        return false;
    }
    std::string path;
    if (key->QueryString("PhotoPath", path, kPhotoPathBytes)) photoPath_ = EngineString(path);
    key->Close();
    return Application::LoadSettings();
}

bool ClockApplication::SaveSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Write);
    if (!key) return false;
    key->SetString("PhotoPath", photoPath_.view());
    // One write for everything: a crash cannot store the picture without the rest.
    WriteSettings(*key);
    return key->Close();
}
