// The Windows program's entry: hands the instance, the arguments and the system's command line
// to the program's own entry point.

#include "platform/sys/ProgramEntry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return ScreenSaverMain(instance, __argc, __argv, GetCommandLineA());
}
