#pragma once
// Stored RAR archives built in memory with the engine's writer.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct ArchiveEntry {
    std::string name;
    std::vector<uint8_t> bytes;
    bool isDirectory = false;
};

std::vector<uint8_t> BuildRar(const std::vector<ArchiveEntry>& entries);

// Offset of the first byte of `name`'s data in an archive from BuildRar.
size_t MemberDataOffset(const std::vector<uint8_t>& archive, const std::string& name);

}  // namespace testing_support
