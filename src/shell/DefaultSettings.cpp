#include "shell/DefaultSettings.h"

#include <cstdlib>
#include <string>

#include "common/Log.h"
#include "platform/sys/System.h"
#include "shell/SettingsTable.h"
#include "shell/TextLines.h"

namespace {

constexpr const char* kMalformedFile = "неправильный формат файла def_settings.txt";
constexpr const char* kMissingEntry = "Не найден параметр в файле def_settings.txt";

}  // namespace

void DefaultSettings::Parse(std::span<const uint8_t> text) {
    count_ = 0;
    ForEachCrLine(text, [&](std::string_view raw) {
        std::string line;
        for (char c : raw)
            if (static_cast<unsigned char>(c) > 32) line += c;
        if (const size_t comment = line.find(';'); comment != std::string::npos) line.resize(comment);
        if (line.empty()) return;
        if (count_ == kCapacity) {
            Log("def_settings.txt: entries past the table's capacity ignored\n");
            return;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            sys::GetSystem().MessageBox(kMalformedFile, "", sys::MB_OK);
            entries_[count_++] = {EngineString(line), EngineString(line)};
            return;
        }
        entries_[count_++] = {EngineString(std::string_view(line).substr(0, equals)),
                              EngineString(std::string_view(line).substr(equals + 1))};
    });
}

EngineString DefaultSettings::GetDefault(const char* name) const {
    const std::string wanted = AsciiLower(name);
    for (int i = 0; i < count_; ++i)
        if (AsciiLower(entries_[i].name.view()) == wanted) return entries_[i].value;
    sys::GetSystem().MessageBox(kMissingEntry, wanted, sys::MB_OK);
    return {};
}

int DefaultSettings::ValueOf(const char* name) const {
    const EngineString value = GetDefault(name);
    // Values are compared exactly: "TRUE" is neither word and goes through atoi like any text.
    if (value == "true") return 1;
    if (value == "false") return 0;
    return std::atoi(value.c_str());
}

void DefaultSettings::LoadDefaults(SettingsRecord& r) const {
    for (const SettingField& field : kSettingFields) field.Set(r, ValueOf(field.defaultKey));
}
