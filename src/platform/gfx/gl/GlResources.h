#pragma once
// Textures and buffers backed by OpenGL objects: their in-memory copy is uploaded when a lock ends.

#include "platform/gfx/Resources.h"
#include "platform/gfx/States.h"
#include "platform/gfx/gl/Gl.h"
#include "platform/gfx/gl/GlContext.h"
#include "platform/gfx/loader/Image.h"

namespace gfx::gl {

bool TextureFormatSupported(D3DFORMAT format);

// Units 0-7 carry the texture stages; uploads bind through this one and leave theirs alone.
inline constexpr GLuint kUploadUnit = kMaxTextureStages;

// Textures and buffers deleted so far. A deleted name is unbound everywhere and may come back
// for a new object, so bindings remembered by name are void once this changes.
uint64_t DeletedObjects();
// Of those, the vertex and index buffers.
uint64_t DeletedBuffers();
// Times a texture's contents went from alpha 1 everywhere to not, or back.
uint64_t TextureAlphaChanges();

class GlTexture final : public Texture {
public:
    // Without `nativeCompressed`, DXT levels are decoded to 8-bit channels as they are uploaded.
    GlTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
              bool nativeCompressed);
    ~GlTexture() override;
    GLuint Name() const { return name_; }
    // Every texel of every level reads with alpha 1: a format without alpha, or block-compressed
    // levels whose blocks all decode opaque.
    bool AlphaIsOne() const { return opaqueFormat_ || translucentLevels_ == 0; }

protected:
    void LevelChanged(uint32_t level, const RECT& rect) override;

private:
    void UploadDecoded(uint32_t level, const ArgbImage& image);
    void NoteLevelAlpha(uint32_t level, const ArgbImage& image);

    GLuint name_ = 0;
    bool decodeCompressed_ = false;
    bool opaqueFormat_ = false;
    uint64_t translucentLevels_;  // bit per level that may read with alpha below 1
};

class GlVertexBuffer final : public VertexBuffer {
public:
    GlVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool);
    ~GlVertexBuffer() override;
    GLuint Name() const { return name_; }

protected:
    void RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) override;

private:
    GLuint name_ = 0;
};

class GlIndexBuffer final : public IndexBuffer {
public:
    GlIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool);
    ~GlIndexBuffer() override;
    GLuint Name() const { return name_; }

protected:
    void RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) override;

private:
    GLuint name_ = 0;
};

}  // namespace gfx::gl
