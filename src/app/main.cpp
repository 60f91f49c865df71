// quelmont: the program. Linux-side options are handled here; the rest is the screensaver's own
// command line.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Options.h"
#include "app/Recorder.h"
#include "shell/EntryPoint.h"

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "quelmont: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    }
    if (!options.record.directory.empty()) return RunRecording(options.record, argc > 0 ? argv[0] : "quelmont");
    // Without a display, SDL would try Wayland first and complain: say where to draw.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const std::string commandLine = BuildCommandLine(argc, argv);
    return RunEntryPoint(nullptr, commandLine.c_str(), sys::PlatformDirectXProbe());
}
