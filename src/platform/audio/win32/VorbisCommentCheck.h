#pragma once
// stb_vorbis trusts the lengths in a file's comment header: a damaged one makes it allocate what
// the lengths claim and, when that fails, read through a null list as it cleans up. The header
// is checked first: every length must fit in the header's own bytes.

#include <cstdint>
#include <span>

namespace audio {

// False when the second packet (the comment header) is missing, cut short or claims more than
// it holds.
bool CommentHeaderFits(std::span<const uint8_t> bytes);

}  // namespace audio
