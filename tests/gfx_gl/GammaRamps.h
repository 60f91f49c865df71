#pragma once
// Gamma ramps the device's tests draw through: the setting's ramp and a lightning flash's.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/gfx/Types.h"

namespace gfx::testing {

// The setting's ramp: a constant added to the identity, clamped.
inline gfx::D3DGAMMARAMP SettingRamp(int gamma) {
    gfx::D3DGAMMARAMP ramp;
    for (size_t i = 0; i < 256; ++i) {
        const auto value = static_cast<uint16_t>(std::clamp<int>(gamma * 200 + static_cast<int>(i) * 256, 0, 65535));
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = value;
    }
    return ramp;
}

// A lightning flash's ramp: the setting's ramp blended toward a brighter, steeper one.
inline gfx::D3DGAMMARAMP FlashRamp() {
    gfx::D3DGAMMARAMP ramp = SettingRamp(100);
    for (size_t i = 0; i < 256; ++i) {
        const auto value = static_cast<uint16_t>(std::min<double>(0.5 * ramp.red[i] + 0.5 * (16384 + i * 384.0), 65535));
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = value;
    }
    return ramp;
}

}  // namespace gfx::testing
