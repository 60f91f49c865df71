#include "resources/RarFormat.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "common/LittleEndian.h"

namespace rar {

bool BlockWalker::ReadAt(uint64_t offset, uint8_t* out, uint32_t count) const {
    if (count == 0 || offset > archive_.size() || archive_.size() - offset < count) return false;
    std::memcpy(out, archive_.data() + offset, count);
    return true;
}

bool BlockWalker::Start() {
    ended_ = true;
    uint8_t marker[sizeof kMarker];
    if (!ReadAt(0, marker, sizeof marker) || std::memcmp(marker, kMarker, sizeof kMarker) != 0) return false;
    uint8_t main[kMainHeaderSize];
    if (!ReadAt(sizeof kMarker, main, sizeof main)) return false;
    const uint16_t headSize = GetLe16(main + 5);
    if (headSize < kMainHeaderSize) return false;
    solid_ = (GetLe16(main + 3) & kMainSolid) != 0;
    position_ = sizeof kMarker + uint64_t{headSize};
    ended_ = false;
    return true;
}

bool BlockWalker::Next(Block& block) {
    if (ended_) return false;
    ended_ = true;
    uint8_t head[kFileHeadSize];
    if (!ReadAt(position_, head, sizeof head)) return false;
    block.position = position_;
    block.headCrc = GetLe16(head);
    block.type = head[2];
    block.flags = GetLe16(head + 3);
    block.headSize = GetLe16(head + 5);
    block.packedSize = GetLe32(head + 7);
    block.unpackedSize = GetLe32(head + 11);
    block.hostOs = head[15];
    block.fileCrc = GetLe32(head + 16);
    block.time = GetLe32(head + 20);
    block.version = head[24];
    block.method = head[25];
    block.nameLength = GetLe16(head + 26);
    block.attributes = GetLe32(head + 28);
    block.name.clear();
    if (block.type == kOldSubBlock || block.headSize < 7) return false;
    if (block.type == kFileHeader) {
        const uint32_t length = std::min<uint32_t>(block.nameLength, kMaxNameLength);
        char name[kMaxNameLength];
        if (!ReadAt(position_ + kFileHeadSize, reinterpret_cast<uint8_t*>(name), length)) return false;
        block.name.assign(name, strnlen(name, length));
    }
    // 64-bit positions: the next block always lies beyond this one.
    position_ += block.headSize + ((block.flags & kLongBlock) ? uint64_t{block.packedSize} : 0);
    ended_ = false;
    return true;
}

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt; feed large spans piecewise.
    while (!bytes.empty()) {
        const auto n = static_cast<uInt>(std::min<size_t>(bytes.size(), 1u << 30));
        crc = crc32(crc, bytes.data(), n);
        bytes = bytes.subspan(n);
    }
    return static_cast<uint32_t>(crc);
}

uint16_t HeaderCrc(std::span<const uint8_t> header) {
    return static_cast<uint16_t>(Crc32(header.subspan(2)) & 0xFFFF);
}

}  // namespace rar
