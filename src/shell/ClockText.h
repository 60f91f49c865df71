#pragma once
// The text of the time label: "H:MM:SS am", "H:MM:SS pm", or "H:MM:SS " on a 24-hour clock.

#include "common/EngineString.h"
#include "platform/sys/System.h"

EngineString FormatClockText(const sys::LocalTime& time, bool twentyFourHour);

// "D/M/YYYY, H:MM:SS " for the trace's start line.
EngineString FormatLogTimestamp(const sys::LocalTime& time);
