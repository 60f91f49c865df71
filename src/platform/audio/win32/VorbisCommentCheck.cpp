#include "platform/audio/win32/VorbisCommentCheck.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace audio {

namespace {

constexpr size_t kPageHeader = 27;

// The second packet of the file, gathered from the segments of its pages.
bool SecondPacket(std::span<const uint8_t> bytes, std::vector<uint8_t>& packet) {
    int index = 0;
    for (size_t at = 0; at + kPageHeader <= bytes.size();) {
        const uint8_t* page = bytes.data() + at;
        if (std::memcmp(page, "OggS", 5) != 0) return false;
        const size_t segments = page[26];
        size_t body = at + kPageHeader + segments;
        if (body > bytes.size()) return false;
        for (size_t i = 0; i < segments; ++i) {
            const size_t lace = page[kPageHeader + i];
            if (body + lace > bytes.size()) return false;
            if (index == 1) packet.insert(packet.end(), bytes.begin() + body, bytes.begin() + body + lace);
            body += lace;
            if (lace < 255 && index++ == 1) return true;
        }
        at = body;
    }
    return false;
}

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    size_t Left() const { return bytes_.size() - at_; }
    bool Skip(size_t count) {
        if (count > Left()) return false;
        at_ += count;
        return true;
    }
    bool Length(uint32_t& value) {
        if (Left() < 4) return false;
        value = static_cast<uint32_t>(bytes_[at_]) | static_cast<uint32_t>(bytes_[at_ + 1]) << 8 |
                static_cast<uint32_t>(bytes_[at_ + 2]) << 16 | static_cast<uint32_t>(bytes_[at_ + 3]) << 24;
        at_ += 4;
        return true;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
};

}  // namespace

bool CommentHeaderFits(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> packet;
    if (!SecondPacket(bytes, packet) || packet.size() < 7 || packet[0] != 3 ||
        std::memcmp(packet.data() + 1, "vorbis", 6) != 0) {
        return false;
    }
    Reader reader(packet);
    uint32_t vendor = 0;
    uint32_t count = 0;
    if (!reader.Skip(7) || !reader.Length(vendor) || !reader.Skip(vendor) || !reader.Length(count)) return false;
    // Each comment takes at least its four-byte length.
    if (count > reader.Left() / 4) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!reader.Length(length) || !reader.Skip(length)) return false;
    }
    return true;
}

}  // namespace audio
