#pragma once
// Trace and error sinks. Lines are dropped unless a trace file is set (QUELMONT_TRACE=path, or
// SetTracePath); then each text is appended to it and flushed at once, so a crash loses nothing.

#include "common/EngineString.h"

void Log(EngineString text);
void LogError(EngineString caption, EngineString text);

// Redirects the sinks to `path` (appending), or drops lines again when null.
void SetTracePath(const char* path);
