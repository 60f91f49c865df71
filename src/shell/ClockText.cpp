#include "shell/ClockText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace {

// Writes into a fixed buffer and drops what does not fit. The time label is refreshed every
// frame: this costs a fraction of what formatted printing does.
class FixedText {
public:
    FixedText(char* begin, size_t capacity) : begin_(begin), at_(begin), end_(begin + capacity) {}
    void Put(std::string_view text) {
        const size_t count = std::min(text.size(), static_cast<size_t>(end_ - at_));
        std::memcpy(at_, text.data(), count);
        at_ += count;
    }
    // In decimal; with `twoDigits` a value from 0 to 9 gets a leading zero.
    void Number(int value, bool twoDigits) {
        if (twoDigits && value >= 0 && value < 10) Put("0");
        char digits[12];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Put(std::string_view(digits, static_cast<size_t>(end - digits)));
    }
    size_t Length() const { return static_cast<size_t>(at_ - begin_); }

private:
    char* begin_;
    char* at_;
    char* end_;
};

}  // namespace

std::string_view FormatClockText(const sys::LocalTime& time, bool twentyFourHour, ClockTextBuffer& out) {
    int hour = time.hour;
    const char* suffix = "";
    if (!twentyFourHour) {
        suffix = hour >= 12 ? "pm" : "am";
        if (hour >= 13) hour -= 12;
    }
    FixedText text(out.data(), out.size() - 1);
    text.Number(hour, false);
    text.Put(":");
    text.Number(time.minute, true);
    text.Put(":");
    text.Number(time.second, true);
    text.Put(" ");
    text.Put(suffix);
    out[text.Length()] = '\0';
    return {out.data(), text.Length()};
}

EngineString FormatClockText(const sys::LocalTime& time, bool twentyFourHour) {
    ClockTextBuffer buffer;
    return EngineString(FormatClockText(time, twentyFourHour, buffer));
}

EngineString FormatLogTimestamp(const sys::LocalTime& time) {
    std::array<char, 80> out;
    FixedText text(out.data(), out.size());
    text.Number(time.day, false);
    text.Put("/");
    text.Number(time.month, false);
    text.Put("/");
    text.Number(time.year, false);
    text.Put(", ");
    text.Number(time.hour, false);
    text.Put(":");
    text.Number(time.minute, true);
    text.Put(":");
    text.Number(time.second, true);
    text.Put(" ");
    return EngineString(std::string_view(out.data(), text.Length()));
}
