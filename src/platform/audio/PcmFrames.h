#pragma once
// Decoded Vorbis frames (one float array per channel) to interleaved 16-bit PCM: the channels
// averaged to one, or the first two kept.

#include <cstddef>
#include <cstdint>

namespace audio {

// Vorbis files may carry up to 255 channels; neither decoder plays more than 192 kHz.
constexpr uint32_t kMaxVorbisRate = 192000;

// Writes `count` frames of `outputChannels` (1 or 2; 2 needs two file channels) values to `out`.
void ToPcmFrames(const float* const* pcm, int fileChannels, int outputChannels, size_t count, int16_t* out);

}  // namespace audio
