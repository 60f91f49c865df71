#include "scene/Color.h"

#include <algorithm>

namespace {

uint32_t PackChannel(float value) {
    const float scaled = value * 256.0f;
    // Out-of-range values (and NaN) must not spill into the neighbouring channels.
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return static_cast<uint32_t>(scaled);
}

}  // namespace

uint32_t PackColor(const EngineColor& color) {
    return (PackChannel(color.a) << 24) | (PackChannel(color.r) << 16) | (PackChannel(color.g) << 8) |
           PackChannel(color.b);
}

EngineColor BlendSum(const EngineColor& c1, float f1, const EngineColor& c2, float f2) {
    auto mix = [&](float a, float b) { return std::min(f1 * a + f2 * b, 1.0f); };
    return {1.0f, mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
}

EngineColor BlendDifference(const EngineColor& c1, float f1, const EngineColor& c2, float f2) {
    auto mix = [&](float a, float b) { return std::max(f1 * a - f2 * b, 0.0f); };
    return {1.0f, mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
}

EngineColor BlendProduct(const EngineColor& c1, float f1, const EngineColor& c2, float f2) {
    auto mix = [&](float a, float b) { return f1 * a * f2 * b; };
    return {1.0f, mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
}
