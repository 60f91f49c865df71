#include "shell/ModeDescription.h"

#include "common/Log.h"
#include "shell/DeviceNames.h"

void LogModeRequest(const DeviceSettings& settings) {
    Log("MODEDESC:\n");
    if (settings.multiSampleType == gfx::D3DMULTISAMPLE_2_SAMPLES) {
        Log("2Samples, quality: " + EngineString(settings.multiSampleQuality, 10) + "\n");
    } else {
        Log("NoSampling\n");
    }
}

void WriteModeDescription(const DeviceSettings& settings) {
    LogError("", "----------------------\n");
    LogError("", settings.windowed ? "Windowed " : "Fullscreen ");
    LogError("", EngineString(settings.width, 10) + "x" + EngineString(settings.height, 10));
    LogError("", EngineString(", ") + FormatName(settings.adapterFormat));
    LogError("", EngineString(", ") + FormatName(settings.depthStencilFormat) + "\n");
    LogError("", EngineString("Present Interval: ") + PresentIntervalName(settings.presentInterval) + "\n");
    LogError("", EngineString("Vertex Proccessing: ") + VertexProcessingName(settings.vertexProcessing) + "\n");
    LogError("", EngineString("MultiSample: ") + MultiSampleName(settings.multiSampleType) + " , Quality:" +
                     EngineString(settings.multiSampleQuality, 10) + "\n");
    LogError("", "----------------------\n");
}
