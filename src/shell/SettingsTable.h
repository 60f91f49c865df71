#pragma once
// The thirteen common settings in one table: the value name under the settings key, the entry
// of the default file, the member of the record and its range. Loading, saving, the defaults
// and the configuration dialog all walk this table, in the order the values are stored.

#include <array>
#include <cstdint>

#include "shell/SettingsRecord.h"

struct SettingField {
    const char* name;        // value name under kSettingsKey
    const char* defaultKey;  // entry of def_settings.txt
    bool SettingsRecord::*flag = nullptr;      // a switch, or
    int32_t SettingsRecord::*number = nullptr;  // a number within [min, max]
    int32_t min = INT32_MIN;
    int32_t max = INT32_MAX;

    bool IsSwitch() const { return flag != nullptr; }
    // A switch reads as 0 or 1.
    int32_t Get(const SettingsRecord& record) const;
    // A switch takes value != 0; a number is limited to the range, since a hand-edited file or
    // default may hold anything.
    void Set(SettingsRecord& record, int32_t value) const;
};

extern const std::array<SettingField, 13> kSettingFields;
