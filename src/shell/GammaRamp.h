#pragma once
// The gamma ramp of the Gamma setting: value[i] = Gamma x 200 + i x 256, limited to 0..65535,
// the same for red, green and blue.

#include <array>
#include <cstdint>

struct GammaRamp {
    std::array<uint16_t, 256> red{}, green{}, blue{};
};

GammaRamp BuildGammaRamp(int gamma);

namespace gfx {
class Device;
}

// Sets `ramp` on the device's swap chain 0, calibrated; nothing without a device.
void SetDeviceGammaRamp(gfx::Device* device, const GammaRamp& ramp);
