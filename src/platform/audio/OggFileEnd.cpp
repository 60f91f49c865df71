#include "platform/audio/OggFileEnd.h"

#include <cstddef>

namespace audio {

bool EndsWithLastPage(std::span<const uint8_t> bytes) {
    constexpr size_t kHeader = 27;
    constexpr size_t kLongestPage = kHeader + 255 + 255 * 255;
    if (bytes.size() < kHeader) return false;
    const size_t lowest = bytes.size() > kLongestPage ? bytes.size() - kLongestPage : 0;
    for (size_t at = bytes.size() - kHeader + 1; at-- > lowest;) {
        const uint8_t* page = bytes.data() + at;
        if (page[0] != 'O' || page[1] != 'g' || page[2] != 'g' || page[3] != 'S' || page[4] != 0) continue;
        const size_t segments = page[26];
        if (at + kHeader + segments > bytes.size()) continue;
        size_t end = at + kHeader + segments;
        for (size_t i = 0; i < segments; ++i) end += page[kHeader + i];
        if (end == bytes.size()) return (page[5] & 0x04) != 0;  // end-of-stream flag
    }
    return false;
}

}  // namespace audio
