#include "shell/SettingsTable.h"

#include <algorithm>

int32_t SettingField::Get(const SettingsRecord& record) const {
    return IsSwitch() ? (record.*flag ? 1 : 0) : record.*number;
}

void SettingField::Set(SettingsRecord& record, int32_t value) const {
    if (IsSwitch())
        record.*flag = value != 0;
    else
        record.*number = std::clamp(value, min, max);
}

namespace {

// A display mode's side and an adapter's index have no limit of their own; these are far beyond
// any real display, and keep nonsense (a negative width) out.
constexpr int32_t kLargestModeSide = 16384;
constexpr int32_t kLastAdapter = 63;

constexpr SettingField Switch(const char* name, const char* defaultKey, bool SettingsRecord::*flag) {
    return {name, defaultKey, flag, nullptr};
}

constexpr SettingField Number(const char* name, const char* defaultKey, int32_t SettingsRecord::*number,
                              int32_t min = INT32_MIN, int32_t max = INT32_MAX) {
    return {name, defaultKey, nullptr, number, min, max};
}

}  // namespace

const std::array<SettingField, 13> kSettingFields = {
    Switch("UseDesktop", "UseDktpSet", &SettingsRecord::UseDesktop),
    Switch("ShowFps", "ShowFPS", &SettingsRecord::ShowFps),
    Number("Width", "MW", &SettingsRecord::Width, 1, kLargestModeSide),
    Number("Height", "MH", &SettingsRecord::Height, 1, kLargestModeSide),
    Number("Depth", "MBitCount", &SettingsRecord::Depth, 8, 32),
    Number("Adapter", "Adapter", &SettingsRecord::Adapter, 0, kLastAdapter),
    Number("Gamma", "GammControl", &SettingsRecord::Gamma, -100, 100),
    Number("Volume", "MusicVolume", &SettingsRecord::Volume, 0, 100),
    Switch("Music", "Music", &SettingsRecord::Music),
    Switch("Sound", "SFX", &SettingsRecord::Sound),
    Switch("ExitOnMM", "ExitOnMouseMove", &SettingsRecord::ExitOnMM),
    Switch("ShowTime", "ShowTime", &SettingsRecord::ShowTime),
    Switch("TimeStyle", "DigClock_24H", &SettingsRecord::TimeStyle),
};
