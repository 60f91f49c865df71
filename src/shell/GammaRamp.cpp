#include "shell/GammaRamp.h"

#include <algorithm>

#include "platform/gfx/Device.h"

GammaRamp BuildGammaRamp(int gamma) {
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) {
        const int64_t value = std::clamp<int64_t>(int64_t{gamma} * 200 + i * 256, 0, 65535);
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(value);
    }
    return ramp;
}

void SetDeviceGammaRamp(gfx::Device* device, const GammaRamp& ramp) {
    if (!device) return;
    gfx::D3DGAMMARAMP deviceRamp;
    deviceRamp.red = ramp.red;
    deviceRamp.green = ramp.green;
    deviceRamp.blue = ramp.blue;
    device->SetGammaRamp(0, gfx::D3DSGR_CALIBRATE, deviceRamp);
}
