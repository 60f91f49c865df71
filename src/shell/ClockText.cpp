#include "shell/ClockText.h"

#include <algorithm>
#include <cstdio>

namespace {

EngineString TwoDigits(int value) {
    const EngineString digits(int32_t{value}, 10);
    return value < 10 ? "0" + digits : digits;
}

EngineString Decimal(int value) { return EngineString(int32_t{value}, 10); }

}  // namespace

std::string_view FormatClockText(const sys::LocalTime& time, bool twentyFourHour, ClockTextBuffer& out) {
    int hour = time.hour;
    const char* suffix = "";
    if (!twentyFourHour) {
        suffix = hour >= 12 ? "pm" : "am";
        if (hour >= 13) hour -= 12;
    }
    const int length = std::snprintf(out.data(), out.size(), "%d:%02d:%02d %s", hour, time.minute, time.second, suffix);
    return {out.data(), static_cast<size_t>(std::clamp(length, 0, static_cast<int>(out.size()) - 1))};
}

EngineString FormatClockText(const sys::LocalTime& time, bool twentyFourHour) {
    ClockTextBuffer buffer;
    return EngineString(FormatClockText(time, twentyFourHour, buffer));
}

EngineString FormatLogTimestamp(const sys::LocalTime& time) {
    return Decimal(time.day) + "/" + Decimal(time.month) + "/" + Decimal(time.year) + ", " + Decimal(time.hour) + ":" +
           TwoDigits(time.minute) + ":" + TwoDigits(time.second) + " ";
}
