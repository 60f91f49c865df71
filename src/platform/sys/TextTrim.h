#pragma once
// Trimming shared by the line-based texts we read: settings, the desktop host's program list and
// the scene files.

#include <string_view>

namespace sys {

// A carriage return counts as a blank: a file saved with CR LF line ends keeps one at the end of
// every line.
inline constexpr std::string_view kLineBlanks = " \t\r";

inline std::string_view Trim(std::string_view text, std::string_view blanks = kLineBlanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace sys
