#pragma once
// The Linux-side command-line options of quelmont. Everything else on the line is read by the
// screensaver's own grammar (/s, /p ID, /c, /a, /t, and the desktop host's -root, -window-id).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct RecordOptions {
    std::string directory;  // empty: not recording
    int seconds = 5;
    int width = 1024;
    int height = 768;
    int fps = 30;
    int timeOfDaySeconds = -1;  // -1: the real local time
    uint32_t seed = 1;
    // Long runs: no frame or sound files, a device loss every simulated minute, the memory in
    // use on stdout.
    bool soak = false;
    std::string path;  // camera path to start with (its file name); empty: drawn at random (the saver reads it too)
    // --set NAME=VALUE: settings values the recording reads instead of the defaults.
    std::vector<std::pair<std::string, int32_t>> settings;
};

struct Options {
    bool help = false;
    bool version = false;
    bool addToXScreenSaver = false;  // --add-to-xscreensaver
    std::string error;  // non-empty when the line cannot be understood
    RecordOptions record;
    uint64_t windowId = 0;  // -window-id: draw inside this window
    bool root = false;      // -root: draw on the host's window or the root window
};

Options ParseOptions(int argc, const char* const* argv);

// A native window id as desktop hosts write it: hex with "0x" or decimal, not 0.
bool ParseWindowId(std::string_view text, uint64_t& id);

// Which window a desktop host gave us: -window-id first, then the host's XSCREENSAVER_WINDOW
// (`hostEnvironment`, null when unset), then the root window for -root.
struct HostChoice {
    uint64_t window = 0;  // 0: none (or the root window when `root` is set)
    bool root = false;
    std::string error;
};
HostChoice ChooseHostWindow(const Options& options, const char* hostEnvironment);

// The whole command line as the platform would give it: the program name quoted, then the
// arguments separated by blanks (quoted when they hold blanks).
std::string BuildCommandLine(int argc, const char* const* argv);

extern const char* const kUsage;

// Prints the usage (--help) or what is wrong with the line, and gives the exit code then; nothing
// when the program goes on.
std::optional<int> AnswerHelpOrError(const Options& options);
