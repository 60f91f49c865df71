#pragma once
// Small signal tools for the synthesised sounds: a seeded noise source, biquad filters, and the
// helpers that make a sound loop without a seam.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mediagen {

constexpr int kRate = 44100;
constexpr float kPi = 3.14159265358979f;

// Deterministic on every machine (no std:: distributions, whose output is not specified).
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t Next();
    float Uniform() { return static_cast<float>(Next() >> 40) / 16777216.0f; }  // [0, 1)
    float Signed() { return Uniform() * 2.0f - 1.0f; }                           // [-1, 1)
    float Range(float low, float high) { return low + (high - low) * Uniform(); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

// A second-order filter (the usual audio cookbook shapes).
class Biquad {
public:
    static Biquad LowPass(float frequency, float q = 0.7071f);
    static Biquad HighPass(float frequency, float q = 0.7071f);
    static Biquad BandPass(float frequency, float q);
    float Process(float x) {
        const float y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return y;
    }

private:
    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float z1_ = 0, z2_ = 0;
};

// Filters a loop as if it had always been playing: one pass settles the filter on the loop's
// end, the second writes the result, so the last sample flows into the first.
void FilterLoop(std::vector<float>& loop, Biquad filter);
// Adds what lies beyond `length` onto the start and cuts it off: the tail a loop carries over.
void WrapTail(std::vector<float>& signal, size_t length);
float Peak(const std::vector<float>& signal);
float Rms(const std::vector<float>& signal);
void Scale(std::vector<float>& signal, float factor);

}  // namespace mediagen
