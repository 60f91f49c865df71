#include "shell/UiText.h"

#include "shell/TextLines.h"

void UiText::Load(std::span<const uint8_t> text) {
    lines_.clear();
    ForEachCrLine(text, [&](std::string_view line) {
        lines_.push_back(line.starts_with('#') ? AsciiLower(line) : std::string(line));
    });
}

EngineString UiText::GetUiText(const char* key) const {
    std::string wanted = "#";
    wanted += AsciiLower(key);
    // A key line is "#key" with at most one more character (the closing "#") after the key.
    for (size_t i = 0; i + 1 < lines_.size(); ++i)
        if (lines_[i].starts_with(wanted) && lines_[i].size() <= wanted.size() + 1) return EngineString(lines_[i + 1]);
    return {};
}
