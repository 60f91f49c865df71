#pragma once
// A 16-bit PCM WAV file written as the recording goes; the sizes in its header are filled in
// when it is closed.

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter() { Close(); }
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool Open(const char* path, uint32_t rate, uint16_t channels);
    // Interleaved samples, a whole number of frames.
    bool Write(std::span<const int16_t> samples);
    // Fixes the header and closes; false when anything failed to write.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    uint32_t dataBytes_ = 0;
    bool ok_ = true;
    std::vector<uint8_t> bytes_;
};
