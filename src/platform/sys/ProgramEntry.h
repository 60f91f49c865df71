#pragma once
// The program's own entry, called by the platform's: on Windows from WinMain, with the module's
// instance and the command line exactly as the system passed it.

int ScreenSaverMain(void* instance, int argc, char** argv, const char* systemCommandLine);
