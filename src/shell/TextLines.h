#pragma once
// Line splitting shared by the embedded text resources: lines end at CR, and a LF right after a
// CR is skipped.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

template <typename Fn>
void ForEachCrLine(std::span<const uint8_t> bytes, Fn&& fn) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\r', start);
        if (end == std::string_view::npos) end = text.size();
        fn(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && text[start] == '\n') ++start;
    }
}

// Only A to Z are turned into a to z, as the engine compares names.
inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}
