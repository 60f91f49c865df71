#pragma once
// Trace and error sinks. Lines are dropped unless a trace file is set (QUELMONT_TRACE=path, or
// SetTracePath); then each text is appended to it and flushed at once, so a crash loses nothing.

#include "common/EngineString.h"

void Log(EngineString text);
void LogError(EngineString caption, EngineString text);
// Fixed texts: nothing is built unless a trace file is set, so per-frame lines cost no allocation.
void Log(const char* text);
void LogError(const char* caption, const char* text);

// Redirects the sinks to `path` (appending), or drops lines again when null.
void SetTracePath(const char* path);
