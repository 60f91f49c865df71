#include "platform/gfx/Resources.h"

#include <algorithm>

namespace gfx {

TextureFormatLayout LayoutOf(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            return {4, 1};
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
            return {2, 1};
        case D3DFMT_DXT1:
            return {8, 4};
        case D3DFMT_DXT3:
        case D3DFMT_DXT5:
            return {16, 4};
        default:
            return {0, 1};
    }
}

uint32_t FullMipChain(uint32_t width, uint32_t height) {
    uint32_t levels = 1;
    for (uint32_t edge = std::max(width, height); edge > 1; edge /= 2) ++levels;
    return levels;
}

namespace {
ResourceCounts g_textures;
ResourceCounts g_buffers;
}  // namespace

ResourceCounts TextureCounts() { return g_textures; }
ResourceCounts BufferCounts() { return g_buffers; }

Texture::Texture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool)
    : format_(format), usage_(usage), pool_(pool), layout_(LayoutOf(format)) {
    ++g_textures.made;
    ++g_textures.alive;
    const uint32_t chain = FullMipChain(width, height);
    levels = (levels == 0 || levels > chain) ? chain : levels;
    levels_.resize(levels);
    for (uint32_t i = 0; i < levels; ++i) {
        Level& level = levels_[i];
        level.width = std::max(width >> i, 1u);
        level.height = std::max(height >> i, 1u);
        const uint32_t blockRows = (level.height + layout_.blockSize - 1) / layout_.blockSize;
        level.bits.assign(static_cast<size_t>(Pitch(i)) * blockRows, 0);
    }
}

uint32_t Texture::Pitch(uint32_t level) const {
    const uint32_t blocks = (levels_[level].width + layout_.blockSize - 1) / layout_.blockSize;
    return blocks * layout_.blockBytes;
}

HRESULT Texture::GetLevelDesc(uint32_t level, D3DSURFACE_DESC& desc) const {
    if (level >= levels_.size()) return D3DERR_INVALIDCALL;
    desc = {};
    desc.Format = format_;
    desc.Type = D3DRTYPE_SURFACE;
    desc.Usage = usage_;
    desc.Pool = pool_;
    desc.Width = levels_[level].width;
    desc.Height = levels_[level].height;
    return D3D_OK;
}

HRESULT Texture::LockRect(uint32_t level, D3DLOCKED_RECT& locked, const RECT* rect, uint32_t /*flags*/) {
    if (level >= levels_.size() || levels_[level].locked) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    RECT r{0, 0, static_cast<int32_t>(l.width), static_cast<int32_t>(l.height)};
    if (rect) {
        const int32_t block = static_cast<int32_t>(layout_.blockSize);
        const bool inside = rect->left >= 0 && rect->top >= 0 && rect->left < rect->right &&
                            rect->top < rect->bottom && rect->right <= r.right && rect->bottom <= r.bottom;
        if (!inside || rect->left % block != 0 || rect->top % block != 0) return D3DERR_INVALIDCALL;
        r = *rect;
    }
    const uint32_t pitch = Pitch(level);
    const size_t offset = static_cast<size_t>(r.top / static_cast<int32_t>(layout_.blockSize)) * pitch +
                          static_cast<size_t>(r.left / static_cast<int32_t>(layout_.blockSize)) * layout_.blockBytes;
    locked.Pitch = static_cast<int32_t>(pitch);
    locked.pBits = l.bits.data() + offset;
    l.locked = true;
    l.lockedRect = r;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(uint32_t level) {
    if (level >= levels_.size() || !levels_[level].locked) return D3DERR_INVALIDCALL;
    levels_[level].locked = false;
    LevelChanged(level, levels_[level].lockedRect);
    return D3D_OK;
}

Texture::~Texture() { --g_textures.alive; }

Buffer::Buffer(uint32_t length, uint32_t usage, D3DPOOL pool) : bytes_(length, 0), usage_(usage), pool_(pool) {
    ++g_buffers.made;
    ++g_buffers.alive;
}

Buffer::~Buffer() { --g_buffers.alive; }

HRESULT Buffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) {
    if (locked_ || data == nullptr || offset > bytes_.size()) return D3DERR_INVALIDCALL;
    if (size == 0) size = Length() - offset;
    if (size > Length() - offset) return D3DERR_INVALIDCALL;
    locked_ = true;
    lockFlags_ = (usage_ & D3DUSAGE_DYNAMIC) != 0 ? flags & (D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE) : 0;
    lockOffset_ = offset;
    lockSize_ = size;
    *data = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT Buffer::Unlock() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    RangeChanged(lockOffset_, lockSize_, lockFlags_);
    return D3D_OK;
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC& desc) const {
    desc = {};
    desc.Usage = Usage();
    desc.Pool = Pool();
    desc.Size = Length();
    desc.FVF = fvf_;
    return D3D_OK;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC& desc) const {
    desc = {};
    desc.Format = format_;
    desc.Usage = Usage();
    desc.Pool = Pool();
    desc.Size = Length();
    return D3D_OK;
}

}  // namespace gfx
