#include "platform/audio/VorbisMemory.h"

#include <cstdio>
#include <cstring>

namespace audio {

size_t MemoryRead(void* buffer, size_t size, size_t count, void* source) {
    auto& file = *static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    const size_t left = file.bytes.size() - file.position;
    const size_t items = std::min(count, left / size);
    if (items == 0) return 0;
    std::memcpy(buffer, file.bytes.data() + file.position, items * size);
    file.position += items * size;
    return items;
}

int MemorySeek(void* source, int64_t offset, int whence) {
    auto& file = *static_cast<MemoryFile*>(source);
    int64_t base = 0;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = static_cast<int64_t>(file.position); break;
        // From the end: the offset is zero or negative. Getting this wrong makes the opener's
        // search for the last page loop for ever.
        case SEEK_END: base = static_cast<int64_t>(file.bytes.size()); break;
        default: return -1;
    }
    if (offset < -base || offset > static_cast<int64_t>(file.bytes.size()) - base) return -1;
    file.position = static_cast<size_t>(base + offset);
    return 0;
}

long MemoryTell(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->position); }

}  // namespace audio
