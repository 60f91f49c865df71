#include "shell/GammaRamp.h"

#include <algorithm>

GammaRamp BuildGammaRamp(int gamma) {
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) {
        const int64_t value = std::clamp<int64_t>(int64_t{gamma} * 200 + i * 256, 0, 65535);
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(value);
    }
    return ramp;
}
