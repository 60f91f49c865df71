// quelmont.scr: the screensaver as the desktop starts it (/s, /p HWND, /c, /c:HWND, /a), and
// --record for recordings made the same way as on Linux.

#include <cstdio>
#include <cstdlib>

#include "app/Options.h"
#include "app/Recorder.h"
#include "platform/gfx/Direct3D.h"
#include "platform/sys/DirectXProbe.h"
#include "shell/EntryPoint.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gfx::SetDirect3DFactory(&gfx::PlatformDirect3DCreate9);
    const Options options = ParseOptions(__argc, __argv);
    if (const std::optional<int> done = AnswerHelpOrError(options)) return *done;
    if (options.record.soak) {
        std::fprintf(stderr, "quelmont: --soak is for the Linux build\n");
        return 2;
    }
    if (!options.record.directory.empty()) return RunRecording(options.record, __argv[0]);
    // The line exactly as the desktop wrote it: its forms (/p 1234, /c:1234) are the saver's own.
    return RunEntryPoint(instance, GetCommandLineA(), sys::PlatformDirectXProbe());
}
