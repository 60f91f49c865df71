#include <cmath>

#include "Dsp.h"
#include "Sounds.h"

namespace mediagen {

namespace {

struct Mode {
    float frequency;
    float decayMs;
    float amplitude;
};

// The escapement's strike on the pallet, rung through the wooden case. `pitch` lowers the tock.
void AddStrike(std::vector<float>& out, size_t at, float pitch, float gain, Random& random) {
    const Mode modes[] = {
        // Long enough to carry across the room: the ticking is heard through rain and music.
        {1180.0f, 45.0f, 0.45f}, {1910.0f, 30.0f, 0.32f}, {2740.0f, 20.0f, 0.22f},
        {3960.0f, 12.0f, 0.14f}, {640.0f, 70.0f, 0.26f},  {205.0f, 90.0f, 0.30f},
    };
    const size_t length = kRate * 6 / 10;
    const size_t fadeFrom = length - kRate / 20;  // the last ringing fades out: no click at the cut
    Biquad click = Biquad::HighPass(900.0f);
    Biquad woody = Biquad::LowPass(4500.0f);
    for (size_t i = 0; i < length && at + i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        // A sharp click of filtered noise, then the modes ringing out.
        float value = woody.Process(click.Process(random.Signed() * std::exp(-t / 0.0006f))) * 1.4f;
        const float attack = std::min(1.0f, t / 0.0008f);
        for (const Mode& mode : modes) {
            const float f = mode.frequency * pitch;
            value += mode.amplitude * attack * std::exp(-t * 1000.0f / mode.decayMs) * std::sin(2.0f * kPi * f * t);
        }
        const float fade = i < fadeFrom ? 1.0f : 0.5f + 0.5f * std::cos(kPi * (i - fadeFrom) / (length - fadeFrom));
        out[at + i] += value * gain * fade;
    }
}

}  // namespace

std::vector<float> MakeTicks() {
    const size_t loop = 2 * kRate;
    std::vector<float> dry(loop + kRate / 2, 0.0f);
    Random random(7);
    AddStrike(dry, kRate / 10, 1.0f, 1.0f, random);
    AddStrike(dry, kRate / 10 + kRate, 0.86f, 0.92f, random);

    // The case and the room: a few early reflections and a short, dark tail.
    std::vector<float> out = dry;
    const float reflections[][2] = {{0.0113f, 0.22f}, {0.0187f, 0.15f}, {0.0291f, 0.10f}, {0.0433f, 0.06f}};
    for (const auto& [delay, gain] : reflections) {
        const size_t offset = static_cast<size_t>(delay * kRate);
        for (size_t i = 0; i + offset < out.size(); ++i) out[i + offset] += dry[i] * gain;
    }
    Biquad dark = Biquad::LowPass(2500.0f);
    std::vector<float> tail(out.size(), 0.0f);
    float level = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        level = level * 0.9992f + std::fabs(dry[i]) * 0.0008f;  // follows the strikes, ~30 ms
        tail[i] = dark.Process(random.Signed()) * level * 0.5f;
    }
    for (size_t i = 0; i < out.size(); ++i) out[i] += tail[i];

    WrapTail(out, loop);
    Scale(out, 0.89f / Peak(out));
    return out;
}

}  // namespace mediagen
