#pragma once
// Decodes an Ogg Vorbis file held in memory to 16-bit PCM, piece by piece, mixed down to mono on
// request. A file cut short does not open; damage inside ends the sound early. It never reads
// outside the bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/audio/VorbisMemory.h"

namespace audio {

class VorbisDecoder {
public:
    VorbisDecoder();
    ~VorbisDecoder();
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    // The bytes must outlive the decoder. False when they are not a whole Vorbis file we can play.
    bool Open(std::span<const uint8_t> bytes, bool mixToMono);
    // 1 or 2: what Read delivers per frame.
    int OutputChannels() const { return outputChannels_; }
    uint32_t Rate() const { return rate_; }
    // Up to `frames` frames into `out` (OutputChannels() values each); 0 at the end.
    size_t Read(int16_t* out, size_t frames);

private:
    struct State;
    std::unique_ptr<State> state_;
    MemoryFile file_;
    bool open_ = false;
    bool ended_ = false;
    int fileChannels_ = 0;
    int outputChannels_ = 0;
    uint32_t rate_ = 0;
};

}  // namespace audio
