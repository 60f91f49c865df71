#include "shell/FullScreenMode.h"

#include "common/Log.h"
#include "shell/ModeDescription.h"

using namespace gfx;

bool ChooseFullScreenMode(RenderFramework& framework, const SettingsRecord& settings) {
    DeviceSettings request;
    request.windowed = false;
    request.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    request.multiSampleQuality = 0;
    DeviceSettings fallback;
    if (settings.UseDesktop) {
        Log("Using desktop mode\n");
        request.matchFlags = kMatchMultiSample;
        fallback = request;
        fallback.matchFlags &= ~kMatchMultiSample;
        if (FindBestSettings(*framework.Direct3D(), framework.Enumeration(), request)) {
            LogModeRequest(request);
            framework.SetFullScreenSlot(request);
        } else {
            request = {};
            request.matchFlags = kMatchMultiSample | kMatchSize;
            request.windowed = true;
            request.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
            request.width = 800;
            request.height = 600;
            if (FindBestSettings(*framework.Direct3D(), framework.Enumeration(), request)) framework.SetFullScreenSlot(request);
        }
        if (framework.SetMode(true)) return true;
        Log("Setting Mode failed\n");
    } else {
        Log("Using fixed mode\n");
        request.matchFlags = kMatchSize | kMatchBackBufferBits | kMatchMultiSample;
        request.width = static_cast<uint32_t>(settings.Width);
        request.height = static_cast<uint32_t>(settings.Height);
        request.backBufferFormat = settings.Depth == 16 ? D3DFMT_X1R5G5B5 : D3DFMT_X8R8G8B8;
        fallback = request;
        fallback.matchFlags &= ~kMatchMultiSample;
        if (FindBestSettings(*framework.Direct3D(), framework.Enumeration(), request)) {
            LogModeRequest(request);
            framework.SetFullScreenSlot(request);
        }
        if (framework.SetMode(true)) return true;
        Log("Failed setting mode\n");
    }
    if (!FindBestSettings(*framework.Direct3D(), framework.Enumeration(), fallback)) return false;
    LogModeRequest(fallback);
    framework.SetFullScreenSlot(fallback);
    if (framework.SetMode(true)) return true;
    Log("Setting Mode failed...exiting\n");
    return false;
}
