#pragma once
// The screensaver command line: which mode to run and the window handle that came with it.

#include <cstdint>

enum class RunMode : int32_t {
    Saver = 0,
    Preview = 1,
    Test = 2,
    Configure = 3,
    ChangePassword = 4,
};

// `commandLine` is the whole line, program name first (quoted when it holds blanks).
RunMode ParseCommandLine(const char* commandLine, uint32_t& windowHandle);
