#pragma once
// The program's entry: graphics check, run mode, the application's life, the exit code.

#include "platform/sys/DirectXProbe.h"

// `commandLine` as the platform gives it (program name first). Returns the exit code.
int RunEntryPoint(void* instance, const char* commandLine, sys::DirectXProbe& probe);
