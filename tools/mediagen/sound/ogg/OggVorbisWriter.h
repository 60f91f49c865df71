#pragma once
// Encodes float PCM as an Ogg Vorbis file with libvorbisenc. The same samples give the same
// bytes on every run (fixed stream serial, no time-dependent comments).

#include <cstdint>
#include <span>
#include <vector>

namespace mediagen {

// `channels` holds one span per channel (1 or 2), all the same length, values in -1..1.
std::vector<uint8_t> EncodeOggVorbis(std::span<const std::span<const float>> channels, int rate, float quality);

}  // namespace mediagen
