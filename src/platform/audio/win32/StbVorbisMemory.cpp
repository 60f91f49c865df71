#include "platform/audio/win32/StbVorbisMemory.h"

#include <cstdlib>

namespace audio {

namespace {
// Our files need about 200 KB of setup; no layout we play needs a block of this size.
constexpr size_t kLargestBlock = size_t{64} << 20;
thread_local StbVorbisPool* current = nullptr;
}  // namespace

StbVorbisPool::~StbVorbisPool() {
    for (void* block : blocks_) std::free(block);
}

StbVorbisPool::Use::Use(StbVorbisPool& pool) : previous_(current) { current = &pool; }

StbVorbisPool::Use::~Use() { current = previous_; }

void* StbVorbisPool::Alloc(size_t size) {
    if (size == 0 || size > kLargestBlock) return nullptr;
    void* block = std::malloc(size);
    if (block) blocks_.insert(block);
    return block;
}

void* StbVorbisPool::Realloc(void* block, size_t size) {
    if (!block) return Alloc(size);
    if (size == 0 || size > kLargestBlock) return nullptr;
    void* moved = std::realloc(block, size);
    if (moved) {
        blocks_.erase(block);
        blocks_.insert(moved);
    }
    return moved;
}

void StbVorbisPool::Free(void* block) {
    if (block && blocks_.erase(block) != 0) std::free(block);
}

}  // namespace audio

extern "C" void* StbVorbisAlloc(size_t size) { return audio::current ? audio::current->Alloc(size) : nullptr; }

extern "C" void* StbVorbisRealloc(void* block, size_t size) {
    return audio::current ? audio::current->Realloc(block, size) : nullptr;
}

extern "C" void StbVorbisFree(void* block) {
    if (audio::current) audio::current->Free(block);
}
