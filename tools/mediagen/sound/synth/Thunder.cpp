#include <algorithm>
#include <cmath>

#include "Dsp.h"
#include "Sounds.h"

namespace mediagen {

namespace {

struct Clap {
    float seconds;      // length of the file
    float attack;       // seconds to the first peak
    float cutoff;       // low-pass of the rumble, Hz
    float crack;        // level of the bright crack at the start (0 for none)
    int rolls;          // separate swells in the rumble
    float decay;        // seconds for the rumble to fall by e
    float peak;         // peak level of the file
    uint64_t seed;
};

constexpr Clap kClaps[3] = {
    {6.5f, 0.01f, 2200.0f, 0.35f, 7, 2.4f, 0.89f, 101},  // near: a crack that rolls away
    {7.0f, 0.25f, 900.0f, 0.0f, 8, 3.0f, 0.79f, 202},    // medium roll
    {7.5f, 0.90f, 300.0f, 0.0f, 6, 3.4f, 0.71f, 303},    // distant rumble
};

// The loudness over time: a rise, then swells at random moments on a falling slope.
std::vector<float> Envelope(const Clap& clap, size_t length, Random& random) {
    std::vector<float> envelope(length, 0.0f);
    struct Swell {
        float at, width, gain;
    };
    std::vector<Swell> swells;
    float at = clap.attack;
    for (int r = 0; r < clap.rolls; ++r) {
        swells.push_back({at, random.Range(0.15f, 0.5f) + clap.attack * 0.3f, random.Range(0.5f, 1.0f)});
        at += random.Range(0.3f, 1.0f);
    }
    swells[0].gain = 1.0f;
    for (size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        float value = 0;
        for (const Swell& s : swells) {
            const float d = (t - s.at) / s.width;
            value += s.gain * (d < 0 ? std::exp(-d * d * 4) : std::exp(-d * 1.5f));
        }
        const float fall = t < clap.attack ? 1.0f : std::exp(-(t - clap.attack) / clap.decay);
        const float rise = clap.attack > 0.05f ? std::min(1.0f, t / clap.attack) : 1.0f;
        // The last half second fades to nothing so the sound ends without a step.
        const float end = std::clamp((clap.seconds - t) / 0.5f, 0.0f, 1.0f);
        envelope[i] = value * fall * rise * end * end;
    }
    return envelope;
}

std::vector<float> Rumble(const Clap& clap, const std::vector<float>& envelope, Random& random) {
    std::vector<float> out(envelope.size());
    Biquad low1 = Biquad::LowPass(clap.cutoff), low2 = Biquad::LowPass(clap.cutoff * 1.3f);
    Biquad high = Biquad::HighPass(28.0f);
    // Slowly wandering brightness makes the roll growl instead of hiss evenly.
    Biquad growl = Biquad::LowPass(6.0f);
    for (size_t i = 0; i < out.size(); ++i) {
        const float wobble = 0.7f + 0.6f * std::fabs(growl.Process(random.Signed() * 40.0f));
        out[i] = high.Process(low2.Process(low1.Process(random.Signed()))) * envelope[i] * wobble;
    }
    return out;
}

void AddCrack(const Clap& clap, std::vector<float>& out, Random& random) {
    if (clap.crack <= 0) return;
    Biquad bright = Biquad::HighPass(1200.0f);
    Biquad body = Biquad::LowPass(5000.0f);
    // A few discharges in quick succession, each a burst of bright noise.
    float at = 0.02f;
    for (int k = 0; k < 4; ++k) {
        const float gain = clap.crack * (k == 0 ? 1.0f : random.Range(0.3f, 0.7f));
        const size_t start = static_cast<size_t>(at * kRate);
        for (size_t i = 0; i < static_cast<size_t>(0.35f * kRate) && start + i < out.size(); ++i) {
            const float t = static_cast<float>(i) / kRate;
            out[start + i] += body.Process(bright.Process(random.Signed())) * gain * std::exp(-t / 0.06f) *
                              std::min(1.0f, t / 0.001f) * 3.0f;
        }
        at += random.Range(0.03f, 0.12f);
    }
}

// Echoes from hills and houses, later and darker on one side than the other.
void AddEchoes(std::vector<float>& left, std::vector<float>& right, Random& random) {
    const std::vector<float> dryLeft = left, dryRight = right;
    for (int e = 0; e < 5; ++e) {
        const float delay = random.Range(0.08f, 0.6f);
        const float gain = random.Range(0.15f, 0.35f);
        const size_t offset = static_cast<size_t>(delay * kRate);
        const size_t skew = static_cast<size_t>(random.Range(0.0f, 0.03f) * kRate);
        Biquad darkLeft = Biquad::LowPass(700.0f), darkRight = Biquad::LowPass(700.0f);
        for (size_t i = 0; i + offset + skew < left.size(); ++i) {
            left[i + offset] += darkLeft.Process(dryRight[i]) * gain;
            right[i + offset + skew] += darkRight.Process(dryLeft[i]) * gain;
        }
    }
}

}  // namespace

StereoSound MakeThunder(int kind) {
    const Clap& clap = kClaps[std::clamp(kind, 0, 2)];
    Random random(clap.seed);
    const size_t length = static_cast<size_t>(clap.seconds * kRate);
    const std::vector<float> envelope = Envelope(clap, length, random);
    StereoSound out{Rumble(clap, envelope, random), Rumble(clap, envelope, random)};
    AddCrack(clap, out.left, random);
    AddCrack(clap, out.right, random);
    AddEchoes(out.left, out.right, random);
    // Echoes run past the envelope's own ending: fade them out with it.
    for (size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float end = std::clamp((clap.seconds - t) / 0.5f, 0.0f, 1.0f);
        out.left[i] *= end;
        out.right[i] *= end;
    }
    const float peak = std::max(Peak(out.left), Peak(out.right));
    Scale(out.left, clap.peak / peak);
    Scale(out.right, clap.peak / peak);
    return out;
}

}  // namespace mediagen
