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
// The clock's voice must carry across the room through rain and music: its energy sits at
// 1.5-4 kHz, where the ear is keenest, the music has little and the rain is kept thin, and it
// rings densely for a few tens of milliseconds rather than spending its peak on one click.
void AddStrike(std::vector<float>& out, size_t at, float pitch, float gain, Random& random) {
    const Mode modes[] = {
        {2150.0f, 36.0f, 0.50f}, {3080.0f, 24.0f, 0.38f}, {1490.0f, 46.0f, 0.36f},
        {4120.0f, 12.0f, 0.20f}, {830.0f, 50.0f, 0.16f},  {300.0f, 60.0f, 0.12f},
    };
    const size_t length = kRate * 4 / 10;
    const size_t fadeFrom = length - kRate / 20;  // the last ringing fades out: no click at the cut
    Biquad click = Biquad::BandPass(2600.0f, 0.9f);
    Biquad soften = Biquad::LowPass(6000.0f);  // the saturation's overtones would hiss
    for (size_t i = 0; i < length && at + i < out.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        // A short burst of filtered noise, then the modes ringing out.
        float value = click.Process(random.Signed() * std::exp(-t / 0.0025f)) * 1.2f;
        const float attack = std::min(1.0f, t / 0.0006f);
        for (const Mode& mode : modes) {
            const float f = mode.frequency * pitch;
            value += mode.amplitude * attack * std::exp(-t * 1000.0f / mode.decayMs) * std::sin(2.0f * kPi * f * t);
        }
        // Gentle saturation, as of a hard strike: the ringing comes up toward the click.
        value = soften.Process(std::tanh(3.0f * value) / std::tanh(3.0f));
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
