#include "shell/EntryPoint.h"

#include "common/Log.h"
#include "common/Random.h"
#include "common/Timing.h"
#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/System.h"
#include "shell/Application.h"
#include "shell/ClockText.h"
#include "shell/DirectXVersion.h"

int RunEntryPoint(void* instance, const char* commandLine, sys::DirectXProbe& probe) {
    sys::System& system = sys::GetSystem();
    uint32_t version = 0;
    char versionText[10];
    if (QueryDirectXVersion(probe, version, versionText, sizeof versionText) != 0 || version < kRequiredDirectXVersion) {
        if (system.ShowDirectXDialog() == sys::IDOK) system.ShellOpen(sys::PlatformGraphicsHelp().downloadPage);
        return 1;
    }
    Log("\n>>Log started " + FormatLogTimestamp(system.GetLocalTime()) + "\n");
    Log("DX version ok\n");

    uint32_t windowHandle = 0;
    const RunMode mode = ParseCommandLine(commandLine, windowHandle);
    Log("Running in mode: " + EngineString(static_cast<int32_t>(mode), 10) + "\n");

    Application* app = GetApp();
    system.SetScreenSaverRunning(true);
    SeedRandom(static_cast<uint32_t>(NowMs() % 0x8000));

    if (!app->Create(instance, mode, windowHandle)) {
        system.SetScreenSaverRunning(false);
        DestroyApp();
        return 0;
    }
    int result = 1;
    if (mode != RunMode::Configure) result = app->RunMainLoop();
    system.SetScreenSaverRunning(false);
    DestroyApp();
    Log("\n<<Log closed");
    return result;
}
