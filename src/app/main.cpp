// quelmont: the program. Linux-side options are handled here; the rest is the screensaver's own
// command line.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/Options.h"
#include "app/Recorder.h"
#include "app/SetupCommands.h"
#include "common/EngineString.h"
#include "platform/gfx/Direct3D.h"
#include "platform/sys/ExitSignals.h"
#include "platform/sys/HostWindow.h"
#include "platform/ui/Dialog.h"
#include "shell/Application.h"
#include "shell/EntryPoint.h"

int main(int argc, char** argv) {
    // Before anything starts, so that a SIGTERM at any moment ends the program cleanly.
    sys::CatchExitSignals();
    ui::SetCancelRequest(&sys::TakeExitRequest);
    gfx::SetDirect3DFactory(&gfx::PlatformDirect3DCreate9);
    const Options options = ParseOptions(argc, argv);
    if (const std::optional<int> done = AnswerHelpOrError(options)) return *done;
    if (const std::optional<int> done = RunSetupCommand(options)) return *done;
    if (!options.record.directory.empty()) return RunRecording(options.record, argc > 0 ? argv[0] : "quelmont");
    const HostChoice host = ChooseHostWindow(options, std::getenv("XSCREENSAVER_WINDOW"));
    if (!host.error.empty()) {
        std::fprintf(stderr, "quelmont: %s\n", host.error.c_str());
        return 2;
    }
    const uint64_t hostWindow = host.root ? sys::DefaultRootWindowId() : host.window;
    if (host.root && hostWindow == 0) {
        std::fprintf(stderr, "quelmont: -root needs an X display\n");
        return 2;
    }
    sys::SetHostWindow(hostWindow);
    // Without a display, SDL would try Wayland first and complain: say where to draw.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (!options.record.path.empty()) GetApp()->CameraPaths().StartWith(EngineString(options.record.path.c_str()));
    const std::string commandLine = BuildCommandLine(argc, argv);
    const int result = RunEntryPoint(nullptr, commandLine.c_str(), sys::PlatformDirectXProbe());
    // A host ends the saver inside its window with SIGTERM as a matter of course; any other
    // code makes it report an abnormal end.
    if (hostWindow != 0 && sys::ExitSignalReceived()) return 0;
    return result;
}
