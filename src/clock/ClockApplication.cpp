#include "clock/ClockApplication.h"

#include <string>

#include "common/Log.h"
#include "platform/sys/SettingsStore.h"

namespace {
constexpr size_t kPhotoPathBytes = 256;
}  // namespace

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

void ClockApplication::WriteMoreSettings(sys::SettingsKey& key) { key.SetString("PhotoPath", photoPath_.view()); }
