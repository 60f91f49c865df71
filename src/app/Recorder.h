#pragma once
// quelmont --record: runs the saver offscreen on a simulated clock and writes every presented
// frame as frame-NNNNN.png, with the trace in trace.log and the sound in sound.wav.

#include "app/Options.h"

// Returns the process exit code.
int RunRecording(const RecordOptions& options, const char* programName);
