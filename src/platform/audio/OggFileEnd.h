#pragma once
// Whether an Ogg file ends with the complete last page of its stream. A file that does not was
// cut short, and a sound that stops part way is worse than none: both decoders refuse it.

#include <cstdint>
#include <span>

namespace audio {

bool EndsWithLastPage(std::span<const uint8_t> bytes);

}  // namespace audio
