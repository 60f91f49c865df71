#include "app/WavWriter.h"

#include <array>
#include <cstring>

#include "common/LittleEndian.h"

namespace {

constexpr size_t kHeaderBytes = 44;

}  // namespace

bool WavWriter::Open(const char* path, uint32_t rate, uint16_t channels) {
    Close();
    file_ = std::fopen(path, "wb");
    if (!file_) return false;
    std::array<uint8_t, kHeaderBytes> header{};
    std::memcpy(header.data(), "RIFF", 4);
    std::memcpy(header.data() + 8, "WAVEfmt ", 8);
    PutLe32(header.data() + 16, 16);
    PutLe16(header.data() + 20, 1);  // PCM
    PutLe16(header.data() + 22, channels);
    PutLe32(header.data() + 24, rate);
    PutLe32(header.data() + 28, rate * channels * 2);
    PutLe16(header.data() + 32, static_cast<uint16_t>(channels * 2));
    PutLe16(header.data() + 34, 16);
    std::memcpy(header.data() + 36, "data", 4);
    dataBytes_ = 0;
    ok_ = std::fwrite(header.data(), 1, header.size(), file_) == header.size();
    return ok_;
}

bool WavWriter::Write(std::span<const int16_t> samples) {
    if (!file_) return false;
    // WAV is little-endian whatever the machine.
    bytes_.resize(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) PutLe16(bytes_.data() + 2 * i, static_cast<uint16_t>(samples[i]));
    ok_ = ok_ && std::fwrite(bytes_.data(), 1, bytes_.size(), file_) == bytes_.size();
    dataBytes_ += static_cast<uint32_t>(bytes_.size());
    return ok_;
}

bool WavWriter::Close() {
    if (!file_) return false;
    uint8_t size[4];
    PutLe32(size, dataBytes_ + kHeaderBytes - 8);
    ok_ = ok_ && std::fseek(file_, 4, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file_) == 4;
    PutLe32(size, dataBytes_);
    ok_ = ok_ && std::fseek(file_, 40, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file_) == 4;
    ok_ = std::fclose(file_) == 0 && ok_;
    file_ = nullptr;
    return ok_;
}
