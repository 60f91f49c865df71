#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

uint64_t Random::Next() {
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

struct Coefficients {
    float w, cosw, alpha;
};

Coefficients Prepare(float frequency, float q) {
    const float w = 2.0f * kPi * std::min(frequency, kRate * 0.49f) / kRate;
    return {w, std::cos(w), std::sin(w) / (2.0f * q)};
}

}  // namespace

Biquad Biquad::LowPass(float frequency, float q) {
    const Coefficients c = Prepare(frequency, q);
    const float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = (1 - c.cosw) / 2 / a0;
    f.b1_ = (1 - c.cosw) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::HighPass(float frequency, float q) {
    const Coefficients c = Prepare(frequency, q);
    const float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = (1 + c.cosw) / 2 / a0;
    f.b1_ = -(1 + c.cosw) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::BandPass(float frequency, float q) {
    const Coefficients c = Prepare(frequency, q);
    const float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = c.alpha / a0;
    f.b1_ = 0;
    f.b2_ = -c.alpha / a0;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

void FilterLoop(std::vector<float>& loop, Biquad filter) {
    for (float x : loop) filter.Process(x);
    for (float& x : loop) x = filter.Process(x);
}

void WrapTail(std::vector<float>& signal, size_t length) {
    for (size_t i = length; i < signal.size(); ++i) signal[(i - length) % length] += signal[i];
    signal.resize(length);
}

float Peak(const std::vector<float>& signal) {
    float peak = 0;
    for (float x : signal) peak = std::max(peak, std::fabs(x));
    return peak;
}

float Rms(const std::vector<float>& signal) {
    double sum = 0;
    for (float x : signal) sum += static_cast<double>(x) * x;
    return signal.empty() ? 0.0f : static_cast<float>(std::sqrt(sum / signal.size()));
}

void Scale(std::vector<float>& signal, float factor) {
    for (float& x : signal) x *= factor;
}

}  // namespace mediagen
