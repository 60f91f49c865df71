#include "shell/ClockText.h"

namespace {

EngineString TwoDigits(int value) {
    const EngineString digits(int32_t{value}, 10);
    return value < 10 ? "0" + digits : digits;
}

EngineString Decimal(int value) { return EngineString(int32_t{value}, 10); }

}  // namespace

EngineString FormatClockText(const sys::LocalTime& time, bool twentyFourHour) {
    int hour = time.hour;
    const char* suffix = "";
    if (!twentyFourHour) {
        suffix = hour >= 12 ? "pm" : "am";
        if (hour >= 13) hour -= 12;
    }
    return Decimal(hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second) + " " + suffix;
}

EngineString FormatLogTimestamp(const sys::LocalTime& time) {
    return Decimal(time.day) + "/" + Decimal(time.month) + "/" + Decimal(time.year) + ", " + Decimal(time.hour) + ":" +
           TwoDigits(time.minute) + ":" + TwoDigits(time.second) + " ";
}
