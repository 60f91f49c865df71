// Reading and writing the user's settings under the settings key.

#include <algorithm>

#include "platform/sys/SettingsStore.h"
#include "shell/Application.h"

namespace {

void ReadBool(const sys::SettingsKey& key, const char* name, bool& member) {
    uint32_t value = 0;
    if (key.QueryDword(name, value)) member = value != 0;
}

void ReadInt(const sys::SettingsKey& key, const char* name, int32_t& member) {
    uint32_t value = 0;
    if (key.QueryDword(name, value)) member = static_cast<int32_t>(value);
}

}  // namespace

bool Application::LoadSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    if (!key) return false;
    SettingsRecord& s = settings;
    ReadBool(*key, "UseDesktop", s.UseDesktop);
    ReadBool(*key, "ShowFps", s.ShowFps);
    ReadInt(*key, "Width", s.Width);
    ReadInt(*key, "Height", s.Height);
    ReadInt(*key, "Depth", s.Depth);
    ReadInt(*key, "Adapter", s.Adapter);
    ReadInt(*key, "Gamma", s.Gamma);
    ReadInt(*key, "Volume", s.Volume);
    ReadBool(*key, "Music", s.Music);
    ReadBool(*key, "Sound", s.Sound);
    ReadBool(*key, "ExitOnMM", s.ExitOnMM);
    ReadBool(*key, "ShowTime", s.ShowTime);
    ReadBool(*key, "TimeStyle", s.TimeStyle);
    // A hand-edited file may hold anything: keep the sliders' ranges.
    s.Gamma = std::clamp(s.Gamma, -100, 100);
    s.Volume = std::clamp(s.Volume, 0, 100);
    key->Close();
    return true;
}

bool Application::SaveSettings() {
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Write);
    if (!key) return false;
    const SettingsRecord& s = settings;
    key->SetDword("UseDesktop", s.UseDesktop);
    key->SetDword("ShowFps", s.ShowFps);
    key->SetDword("Width", static_cast<uint32_t>(s.Width));
    key->SetDword("Height", static_cast<uint32_t>(s.Height));
    key->SetDword("Depth", static_cast<uint32_t>(s.Depth));
    key->SetDword("Adapter", static_cast<uint32_t>(s.Adapter));
    key->SetDword("Gamma", static_cast<uint32_t>(s.Gamma));
    key->SetDword("Volume", static_cast<uint32_t>(s.Volume));
    key->SetDword("Music", s.Music);
    key->SetDword("Sound", s.Sound);
    key->SetDword("ExitOnMM", s.ExitOnMM);
    key->SetDword("ShowTime", s.ShowTime);
    key->SetDword("TimeStyle", s.TimeStyle);
    return key->Close();
}
