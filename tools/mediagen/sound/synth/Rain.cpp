#include <cmath>

#include "Dsp.h"
#include "Sounds.h"

namespace mediagen {

namespace {

constexpr size_t kLoopSeconds = 30;

// Adds `drop` at `at` with the given pan, wrapping round the loop's end.
void Place(StereoSound& out, const std::vector<float>& drop, size_t at, float pan) {
    const size_t length = out.left.size();
    const float left = std::sqrt(0.5f * (1.0f - pan));
    const float right = std::sqrt(0.5f * (1.0f + pan));
    for (size_t i = 0; i < drop.size(); ++i) {
        const size_t k = (at + i) % length;
        out.left[k] += drop[i] * left;
        out.right[k] += drop[i] * right;
    }
}

// A drop into water: a bubble whose pitch rises as it shrinks.
std::vector<float> Bubble(Random& random, float gain) {
    const float f0 = random.Range(900.0f, 2600.0f);
    const float decay = random.Range(0.008f, 0.022f);
    std::vector<float> drop(static_cast<size_t>(decay * 6 * kRate));
    float phase = 0;
    for (size_t i = 0; i < drop.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        phase += 2.0f * kPi * f0 * (1.0f + t * 18.0f) / kRate;
        drop[i] = std::sin(phase) * std::exp(-t / decay) * std::min(1.0f, t / 0.0005f) * gain;
    }
    return drop;
}

// A drop striking a window pane: a hard tick and the glass ringing briefly.
std::vector<float> PaneTick(Random& random, float gain) {
    const float modes[] = {random.Range(3600.0f, 4400.0f), random.Range(5200.0f, 6200.0f),
                           random.Range(7000.0f, 8200.0f)};
    std::vector<float> drop(kRate / 20);
    Biquad click = Biquad::HighPass(2000.0f);
    Biquad soft = Biquad::LowPass(9000.0f);
    for (size_t i = 0; i < drop.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        float value = soft.Process(click.Process(random.Signed())) * std::exp(-t / 0.0007f);
        for (int m = 0; m < 3; ++m) value += 0.3f / (m + 1) * std::sin(2.0f * kPi * modes[m] * t) * std::exp(-t / (0.012f - 0.003f * m));
        drop[i] = value * gain;
    }
    return drop;
}

// A small drop on a hard surface: a short burst of bright noise.
std::vector<float> Patter(Random& random, float gain) {
    std::vector<float> drop(static_cast<size_t>(random.Range(0.002f, 0.006f) * kRate));
    Biquad tone = Biquad::BandPass(random.Range(4000.0f, 8000.0f), 1.5f);
    const float decay = static_cast<float>(drop.size()) / kRate / 4;
    for (size_t i = 0; i < drop.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        drop[i] = tone.Process(random.Signed()) * std::exp(-t / decay) * gain;
    }
    return drop;
}

// Uncorrelated-enough noise beds for the hiss of the rain and the roof's low drumming. The hiss
// is thin between 1.5 and 3.5 kHz: that is where the clock's ticking must come through.
void AddBed(StereoSound& out, Random& random) {
    const size_t length = out.left.size();
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<float> hiss(length), murmur(length), roof(length);
        for (size_t i = 0; i < length; ++i) {
            hiss[i] = random.Signed();
            murmur[i] = random.Signed();
            roof[i] = random.Signed();
        }
        FilterLoop(hiss, Biquad::HighPass(3000.0f));
        FilterLoop(hiss, Biquad::HighPass(3600.0f));
        FilterLoop(hiss, Biquad::LowPass(9500.0f));
        FilterLoop(murmur, Biquad::HighPass(500.0f));
        FilterLoop(murmur, Biquad::LowPass(1500.0f));
        FilterLoop(murmur, Biquad::LowPass(1500.0f));
        FilterLoop(roof, Biquad::LowPass(700.0f));
        FilterLoop(roof, Biquad::HighPass(90.0f));
        std::vector<float>& to = channel == 0 ? out.left : out.right;
        for (size_t i = 0; i < length; ++i) {
            // Gusts: slow swells whose periods divide the loop, so they meet at its end.
            const float t = static_cast<float>(i) / kRate;
            const float gust = 1.0f + 0.18f * std::sin(2 * kPi * t * 2 / kLoopSeconds + channel) +
                               0.10f * std::sin(2 * kPi * t * 5 / kLoopSeconds + 1.7f);
            to[i] += (hiss[i] * 0.07f + murmur[i] * 0.05f + roof[i] * 0.10f) * gust;
        }
    }
}

}  // namespace

StereoSound MakeRain() {
    const size_t length = kLoopSeconds * kRate;
    StereoSound out{std::vector<float>(length, 0.0f), std::vector<float>(length, 0.0f)};
    Random random(11);
    AddBed(out, random);
    // Drops at random times; each count is for the whole loop.
    for (int i = 0; i < 9000; ++i) {
        Place(out, Patter(random, random.Range(0.01f, 0.06f)), random.Next() % length, random.Signed() * 0.9f);
    }
    for (int i = 0; i < 700; ++i) {
        Place(out, Bubble(random, random.Range(0.003f, 0.015f)), random.Next() % length, random.Signed() * 0.8f);
    }
    for (int i = 0; i < 110; ++i) {
        Place(out, PaneTick(random, random.Range(0.03f, 0.12f)), random.Next() % length, random.Range(-0.6f, 0.3f));
    }
    // Rain sits well under the music and lets the ticking through: about -35 dB RMS.
    const float rms = (Rms(out.left) + Rms(out.right)) / 2;
    Scale(out.left, 0.018f / rms);
    Scale(out.right, 0.018f / rms);
    return out;
}

}  // namespace mediagen
