#pragma once
// The RAR 2.x block layout shared by the archive reader and writer. All fields are little-endian.

#include <cstdint>
#include <span>
#include <string>

namespace rar {

inline constexpr uint8_t kMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};  // "Rar!"

enum BlockType : uint8_t { kMainHeader = 0x73, kFileHeader = 0x74, kOldSubBlock = 0x77, kEndBlock = 0x7B };

inline constexpr uint16_t kMainSolid = 0x0008;
inline constexpr uint16_t kFileEncrypted = 0x0004;
inline constexpr uint16_t kFileDirectory = 0x00E0;  // all three dictionary bits: a folder entry
inline constexpr uint16_t kLongBlock = 0x8000;      // a data size follows the header
inline constexpr uint16_t kEndSkipIfUnknown = 0x4000;
inline constexpr uint8_t kMethodStored = 0x30;
inline constexpr uint8_t kHostWin32 = 2;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeArchive = 0x20;

inline constexpr uint32_t kMainHeaderSize = 13;
inline constexpr uint32_t kFileHeadSize = 32;
inline constexpr uint32_t kEndBlockSize = 7;
inline constexpr uint32_t kMaxNameLength = 259;
inline constexpr uint8_t kOldestVersion = 13;
inline constexpr uint8_t kNewestVersion = 20;

// One block head, read as a file header whatever its type.
struct Block {
    uint64_t position = 0;
    uint16_t headCrc = 0;
    uint8_t type = 0;
    uint16_t flags = 0;
    uint16_t headSize = 0;
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint8_t hostOs = 0;
    uint32_t fileCrc = 0;
    uint32_t time = 0;
    uint8_t version = 0;
    uint8_t method = 0;
    uint16_t nameLength = 0;
    uint32_t attributes = 0;
    std::string name;  // file blocks: at most 259 bytes, up to the first NUL

    uint64_t DataOffset() const { return position + headSize; }
    bool IsDirectory() const { return (flags & kFileDirectory) == kFileDirectory; }
};

// Walks the blocks of an archive held in memory. Every read is bounded by the archive: a read
// past its end, or of 0 bytes, fails and ends the walk.
class BlockWalker {
public:
    explicit BlockWalker(std::span<const uint8_t> archive) : archive_(archive) {}
    // The marker and the main header; false when this is not a RAR archive.
    bool Start();
    bool Solid() const { return solid_; }
    // The next block; false at a block of type 0x77, a failed read or a failed bound check.
    bool Next(Block& block);

private:
    bool ReadAt(uint64_t offset, uint8_t* out, uint32_t count) const;

    std::span<const uint8_t> archive_;
    uint64_t position_ = 0;
    bool solid_ = false;
    bool ended_ = true;
};

uint32_t Crc32(std::span<const uint8_t> bytes);
// A header's CRC: the low half of the CRC-32 of the header after the CRC field.
uint16_t HeaderCrc(std::span<const uint8_t> header);

}  // namespace rar
