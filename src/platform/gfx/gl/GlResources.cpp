#include "platform/gfx/gl/GlResources.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/loader/Dxt.h"

namespace gfx::gl {
namespace {

uint64_t deletedObjects = 0;
uint64_t deletedBuffers = 0;
uint64_t textureAlphaChanges = 0;

struct GlFormat {
    GLenum internal = 0;
    GLenum format = 0;  // 0 for compressed formats
    GLenum type = 0;
    bool opaque = false;  // alpha reads as 1
};

GlFormat GlFormatOf(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, false};
        case D3DFMT_X8R8G8B8:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, true};
        case D3DFMT_R5G6B5:
            return {GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, true};
        case D3DFMT_X1R5G5B5:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, true};
        case D3DFMT_A1R5G5B5:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, false};
        case D3DFMT_A4R4G4B4:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, false};
        case D3DFMT_DXT1:
            return {kCompressedDxt1, 0, 0, false};
        case D3DFMT_DXT3:
            return {kCompressedDxt3, 0, 0, false};
        case D3DFMT_DXT5:
            return {kCompressedDxt5, 0, 0, false};
        default:
            return {};
    }
}

// Uploads through a target no draw state depends on. A discard gives the buffer new storage
// (queued draws keep the old); a range nothing queued reads is written without waiting.
void Upload(GLuint name, const uint8_t* bytes, uint32_t length, uint32_t offset, uint32_t size, uint32_t lockFlags) {
    if (size == 0) return;
    glBindBuffer(GL_COPY_WRITE_BUFFER, name);
    void* mapped = nullptr;
    if (lockFlags & D3DLOCK_DISCARD) {
        glBufferData(GL_COPY_WRITE_BUFFER, length, nullptr, GL_DYNAMIC_DRAW);
    } else if (lockFlags & D3DLOCK_NOOVERWRITE) {
        mapped = glMapBufferRange(GL_COPY_WRITE_BUFFER, offset, size,
                                  GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    }
    if (mapped) {
        std::memcpy(mapped, bytes + offset, size);
        glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    } else {
        glBufferSubData(GL_COPY_WRITE_BUFFER, offset, size, bytes + offset);
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    CheckErrors("buffer upload");
}

GLuint MakeBuffer(const uint8_t* bytes, uint32_t length, uint32_t usage) {
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(GL_COPY_WRITE_BUFFER, name);
    glBufferData(GL_COPY_WRITE_BUFFER, length, bytes, (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    return name;
}

}  // namespace

uint64_t DeletedObjects() { return deletedObjects; }
uint64_t DeletedBuffers() { return deletedBuffers; }
uint64_t TextureAlphaChanges() { return textureAlphaChanges; }

bool TextureFormatSupported(D3DFORMAT format) { return GlFormatOf(format).internal != 0; }

GlTexture::GlTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                     bool nativeCompressed)
    : Texture(width, height, levels, usage, format, pool),
      decodeCompressed_(IsDxt(format) && !nativeCompressed),
      opaqueFormat_(GlFormatOf(format).opaque),
      translucentLevels_((uint64_t{1} << GetLevelCount()) - 1) {
    const GlFormat gl = decodeCompressed_ ? GlFormatOf(D3DFMT_A8R8G8B8) : GlFormatOf(format);
    glGenTextures(1, &name_);
    glActiveTexture(GL_TEXTURE0 + kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, name_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(GetLevelCount() - 1));
    if (gl.opaque) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    for (uint32_t level = 0; level < GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc;
        GetLevelDesc(level, desc);
        const auto w = static_cast<GLsizei>(desc.Width);
        const auto h = static_cast<GLsizei>(desc.Height);
        if (gl.format == 0) {
            const auto bytes = static_cast<GLsizei>(Pitch(level) * ((desc.Height + 3) / 4));
            glCompressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), gl.internal, w, h, 0, bytes,
                                   LevelBits(level));
        } else {
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), static_cast<GLint>(gl.internal), w, h, 0,
                         gl.format, gl.type, nullptr);
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CheckErrors("CreateTexture");
}

GlTexture::~GlTexture() {
    glDeleteTextures(1, &name_);
    ++deletedObjects;
}

// Only block-compressed levels are looked at, as they are filled (once, at load); until then a
// level counts as translucent.
void GlTexture::NoteLevelAlpha(uint32_t level, const ArgbImage& image) {
    const bool wasOne = AlphaIsOne();
    const bool opaque = std::all_of(image.pixels.begin(), image.pixels.end(), [](uint32_t p) { return p >= 0xFF000000u; });
    const uint64_t bit = uint64_t{1} << level;
    translucentLevels_ = opaque ? translucentLevels_ & ~bit : translucentLevels_ | bit;
    if (AlphaIsOne() != wasOne) ++textureAlphaChanges;
}

void GlTexture::UploadDecoded(uint32_t level, const ArgbImage& image) {
    D3DSURFACE_DESC desc;
    GetLevelDesc(level, desc);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(desc.Width),
                    static_cast<GLsizei>(desc.Height), GL_BGRA, GL_UNSIGNED_BYTE, image.pixels.data());
}

void GlTexture::LevelChanged(uint32_t level, const RECT& rect) {
    const GlFormat gl = GlFormatOf(Format());
    D3DSURFACE_DESC desc;
    GetLevelDesc(level, desc);
    glActiveTexture(GL_TEXTURE0 + kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, name_);
    if (IsDxt(Format())) {
        // Whole blocks: decoding the level is simpler than its rows of blocks.
        ArgbImage image(desc.Width, desc.Height);
        DecodeDxt(Format(), LevelBits(level), image);
        NoteLevelAlpha(level, image);
        if (decodeCompressed_) UploadDecoded(level, image);
    }
    if (gl.format == 0 && !decodeCompressed_) {
        // Compressed levels are small; send the whole level.
        const auto bytes = static_cast<GLsizei>(Pitch(level) * ((desc.Height + 3) / 4));
        glCompressedTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(desc.Width),
                                  static_cast<GLsizei>(desc.Height), gl.internal, bytes, LevelBits(level));
    } else if (gl.format != 0) {
        const uint32_t pixelBytes = LayoutOf(Format()).blockBytes;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(Pitch(level) / pixelBytes));
        const uint8_t* first = LevelBits(level) + static_cast<size_t>(rect.top) * Pitch(level) +
                               static_cast<size_t>(rect.left) * pixelBytes;
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, gl.format, gl.type, first);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CheckErrors("UnlockRect");
}

GlVertexBuffer::GlVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool)
    : VertexBuffer(length, usage, fvf, pool), name_(MakeBuffer(Bytes(), length, usage)) {}

GlVertexBuffer::~GlVertexBuffer() {
    glDeleteBuffers(1, &name_);
    ++deletedObjects;
    ++deletedBuffers;
}

void GlVertexBuffer::RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) {
    Upload(name_, Bytes(), Length(), offset, size, lockFlags);
}

GlIndexBuffer::GlIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool)
    : IndexBuffer(length, usage, format, pool), name_(MakeBuffer(Bytes(), length, usage)) {}

GlIndexBuffer::~GlIndexBuffer() {
    glDeleteBuffers(1, &name_);
    ++deletedObjects;
    ++deletedBuffers;
}

void GlIndexBuffer::RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) {
    Upload(name_, Bytes(), Length(), offset, size, lockFlags);
}

}  // namespace gfx::gl
