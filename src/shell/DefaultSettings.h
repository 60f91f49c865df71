#pragma once
// The table of default settings read from the embedded "def_settings.txt".

#include <cstdint>
#include <span>

#include "common/EngineString.h"
#include "shell/SettingsRecord.h"

class DefaultSettings {
public:
    static constexpr int kCapacity = 56;

    // Parses the file; malformed lines are reported to the user and kept whole as name and value.
    // Lines past the table's capacity are ignored.
    void Parse(std::span<const uint8_t> text);

    // The value of `name`, compared without regard to letter case; reports a missing name to the
    // user and gives an empty value.
    EngineString GetDefault(const char* name) const;

    // Every member of the record from its default entry.
    void LoadDefaults(SettingsRecord& record) const;

    int Count() const { return count_; }

private:
    int ValueOf(const char* name) const;

    struct Entry {
        EngineString name;
        EngineString value;
    };
    Entry entries_[kCapacity];
    int count_ = 0;
};
