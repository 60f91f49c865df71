#pragma once
// The gamma ramp of the Gamma setting: value[i] = Gamma x 200 + i x 256, limited to 0..65535,
// the same for red, green and blue.

#include <array>
#include <cstdint>

struct GammaRamp {
    std::array<uint16_t, 256> red{}, green{}, blue{};
};

GammaRamp BuildGammaRamp(int gamma);
