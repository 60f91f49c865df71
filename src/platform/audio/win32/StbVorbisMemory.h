#pragma once
/* Where stb_vorbis gets its memory. A damaged setup header can ask for any size, and stb_vorbis
   drops what it had allocated when it refuses one: each decoder keeps a pool of what was handed
   out for it, refuses sizes no file we play needs (as a failed allocation, which stb_vorbis
   reports as an error) and frees what is left when it closes. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

void* StbVorbisAlloc(size_t size);
void* StbVorbisRealloc(void* block, size_t size);
void StbVorbisFree(void* block);

#ifdef __cplusplus
}

#include <unordered_set>

namespace audio {

// The pool that the decoder's calls into stb_vorbis draw from while it is in scope (one thread).
class StbVorbisPool {
public:
    StbVorbisPool() = default;
    ~StbVorbisPool();
    StbVorbisPool(const StbVorbisPool&) = delete;
    StbVorbisPool& operator=(const StbVorbisPool&) = delete;

    class Use {
    public:
        explicit Use(StbVorbisPool& pool);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        StbVorbisPool* previous_;
    };

    void* Alloc(size_t size);
    void* Realloc(void* block, size_t size);
    void Free(void* block);

private:
    std::unordered_set<void*> blocks_;
};

}  // namespace audio
#endif
