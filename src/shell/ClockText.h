#pragma once
// The text of the time label: "H:MM:SS am", "H:MM:SS pm", or "H:MM:SS " on a 24-hour clock.

#include <array>
#include <string_view>

#include "common/EngineString.h"
#include "platform/sys/System.h"

// Room for the longest clock text and more: the label is refreshed every frame without
// allocating.
using ClockTextBuffer = std::array<char, 24>;
std::string_view FormatClockText(const sys::LocalTime& time, bool twentyFourHour, ClockTextBuffer& out);
EngineString FormatClockText(const sys::LocalTime& time, bool twentyFourHour);

// "D/M/YYYY, H:MM:SS " for the trace's start line.
EngineString FormatLogTimestamp(const sys::LocalTime& time);
