// quelmont.scr: the screensaver as the desktop starts it (/s, /p HWND, /c, /c:HWND, /a), and
// --record for recordings made the same way as on Linux.

#include <cstdio>
#include <cstdlib>

#include "app/Options.h"
#include "app/Recorder.h"
#include "platform/gfx/Direct3D.h"
#include "platform/sys/DirectXProbe.h"
#include "platform/sys/ProgramEntry.h"
#include "shell/EntryPoint.h"

int ScreenSaverMain(void* instance, int argc, char** argv, const char* systemCommandLine) {
    gfx::SetDirect3DFactory(&gfx::PlatformDirect3DCreate9);
    const Options options = ParseOptions(argc, argv);
    if (const std::optional<int> done = AnswerHelpOrError(options)) return *done;
    if (options.record.soak) {
        std::fprintf(stderr, "quelmont: --soak is for the Linux build\n");
        return 2;
    }
    if (!options.record.directory.empty()) return RunRecording(options.record, argv[0]);
    // The line exactly as the desktop wrote it: its forms (/p 1234, /c:1234) are the saver's own.
    return RunEntryPoint(instance, systemCommandLine, sys::PlatformDirectXProbe());
}
