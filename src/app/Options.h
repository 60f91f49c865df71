#pragma once
// The Linux-side command-line options of quelmont. Everything else on the line is read by the
// screensaver's own grammar (/s, /p ID, /c, /a, /t, and the desktop host's -root, -window-id).

#include <cstdint>
#include <string>

struct RecordOptions {
    std::string directory;  // empty: not recording
    int seconds = 5;
    int width = 1024;
    int height = 768;
    int fps = 30;
    int timeOfDaySeconds = -1;  // -1: the real local time
    uint32_t seed = 1;
};

struct Options {
    bool help = false;
    std::string error;  // non-empty when the line cannot be understood
    RecordOptions record;
};

Options ParseOptions(int argc, const char* const* argv);

// The whole command line as the platform would give it: the program name quoted, then the
// arguments separated by blanks (quoted when they hold blanks).
std::string BuildCommandLine(int argc, const char* const* argv);

extern const char* const kUsage;
