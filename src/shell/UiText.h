#pragma once
// The dialog texts of the embedded UI-text file: "#key#" lines, each followed by its text.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/EngineString.h"

class UiText {
public:
    void Load(std::span<const uint8_t> text);
    // The line after the first key line for `key` (letter case ignored); empty when there is none.
    EngineString GetUiText(const char* key) const;

private:
    std::vector<std::string> lines_;
};
