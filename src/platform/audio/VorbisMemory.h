#pragma once
// vorbisfile's stream callbacks over a block of memory.

#include <cstddef>
#include <cstdint>
#include <span>

namespace audio {

struct MemoryFile {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

// The callbacks, as vorbisfile calls them (`source` is a MemoryFile).
size_t MemoryRead(void* buffer, size_t size, size_t count, void* source);
int MemorySeek(void* source, int64_t offset, int whence);
long MemoryTell(void* source);

}  // namespace audio
