#pragma once
// Textures and vertex and index buffers. Every resource keeps its contents in memory, so a lock
// hands out that copy and an unlock tells the device backend which part changed.

#include <cstdint>
#include <vector>

#include "platform/gfx/Object.h"
#include "platform/gfx/Types.h"

namespace gfx {

// Bytes of one row of blocks and the block edge of a texture format (1 for plain formats);
// 0 bytes for a format textures cannot have.
struct TextureFormatLayout {
    uint32_t blockBytes = 0;
    uint32_t blockSize = 1;
};
TextureFormatLayout LayoutOf(D3DFORMAT format);
// Number of levels of a full chain down to 1 x 1.
uint32_t FullMipChain(uint32_t width, uint32_t height);

// How many resources of a kind the process has made and how many are alive: the long runs check
// with them that a device reset makes every texture and buffer again.
struct ResourceCounts {
    uint64_t made = 0;
    int64_t alive = 0;
};
ResourceCounts TextureCounts();
ResourceCounts BufferCounts();

class Texture : public Object {
public:
    // `levels` 0 means the full chain. The caller has checked the format's layout.
    Texture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool);
    ~Texture() override;

    uint32_t GetLevelCount() const { return static_cast<uint32_t>(levels_.size()); }
    HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC& desc) const;
    // A rectangle of plain formats, or of whole blocks for compressed ones; null locks the level.
    HRESULT LockRect(uint32_t level, D3DLOCKED_RECT& locked, const RECT* rect, uint32_t flags);
    HRESULT UnlockRect(uint32_t level);

    // The level's rows, top row first, `Pitch(level)` bytes apart.
    const uint8_t* LevelBits(uint32_t level) const { return levels_[level].bits.data(); }
    uint32_t Pitch(uint32_t level) const;
    D3DFORMAT Format() const { return format_; }

protected:
    // Called after a level was unlocked (the rectangle in pixels) so a backend can upload it.
    virtual void LevelChanged(uint32_t /*level*/, const RECT& /*rect*/) {}

private:
    struct Level {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> bits;
        bool locked = false;
        RECT lockedRect;
    };
    D3DFORMAT format_;
    uint32_t usage_;
    D3DPOOL pool_;
    TextureFormatLayout layout_;
    std::vector<Level> levels_;
};

// The common part of vertex and index buffers: bytes, and the range a lock opened.
class Buffer : public Object {
public:
    Buffer(uint32_t length, uint32_t usage, D3DPOOL pool);
    ~Buffer() override;

    // `size` 0 locks from `offset` to the end.
    HRESULT Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags);
    HRESULT Unlock();

    const uint8_t* Bytes() const { return bytes_.data(); }
    uint32_t Length() const { return static_cast<uint32_t>(bytes_.size()); }
    uint32_t Usage() const { return usage_; }
    D3DPOOL Pool() const { return pool_; }

protected:
    // Called after an unlock with the range written and the lock's D3DLOCK_DISCARD (the old
    // contents are dropped) or D3DLOCK_NOOVERWRITE (no queued draw reads the range), which only
    // dynamic buffers keep.
    virtual void RangeChanged(uint32_t /*offset*/, uint32_t /*size*/, uint32_t /*lockFlags*/) {}

private:
    std::vector<uint8_t> bytes_;
    uint32_t usage_;
    D3DPOOL pool_;
    bool locked_ = false;
    uint32_t lockFlags_ = 0;
    uint32_t lockOffset_ = 0;
    uint32_t lockSize_ = 0;
};

class VertexBuffer : public Buffer {
public:
    VertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool) : Buffer(length, usage, pool), fvf_(fvf) {}
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC& desc) const;

private:
    uint32_t fvf_;
};

class IndexBuffer : public Buffer {
public:
    IndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool)
        : Buffer(length, usage, pool), format_(format) {}
    HRESULT GetDesc(D3DINDEXBUFFER_DESC& desc) const;
    D3DFORMAT Format() const { return format_; }

private:
    D3DFORMAT format_;
};

}  // namespace gfx
