#pragma once
// Vorbis files and measurements for the sound tests.

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "ogg/OggVorbisWriter.h"

namespace audio_test {

constexpr int kRate = 44100;

// A sine at `hz` for `seconds`; with two channels the right one has `rightSign` times the left.
inline std::vector<uint8_t> SineOgg(float hz, float seconds, int channels, float rightSign = 1.0f, float amplitude = 0.5f) {
    const size_t frames = static_cast<size_t>(seconds * kRate);
    std::vector<float> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i) {
        left[i] = amplitude * std::sin(2.0f * 3.14159265f * hz * static_cast<float>(i) / kRate);
        right[i] = left[i] * rightSign;
    }
    const std::array<std::span<const float>, 2> both{left, right};
    return mediagen::EncodeOggVorbis(std::span(both.data(), static_cast<size_t>(channels)), kRate, 0.5f);
}

// RMS of one channel of interleaved stereo between two frames.
inline double Rms(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) {
        const double v = stereo[2 * i + static_cast<size_t>(channel)] / 32768.0;
        sum += v * v;
    }
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// Both channels of interleaved stereo summed and band-passed (second order, the cookbook's
// constant-peak form) around `hz` with quality `q`: what one band of the ear hears.
inline std::vector<double> Band(const std::vector<int16_t>& stereo, double hz, double q) {
    const double w = 2 * 3.14159265358979 * hz / kRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    const double b0 = alpha / a0, b2 = -alpha / a0, a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    std::vector<double> out(stereo.size() / 2);
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double x = (stereo[2 * i] + stereo[2 * i + 1]) / 32768.0;
        out[i] = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = out[i];
    }
    return out;
}

// RMS of `signal` between two frames.
inline double Rms(const std::vector<double>& signal, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += signal[i] * signal[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

}  // namespace audio_test
