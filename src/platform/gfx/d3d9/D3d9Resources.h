#pragma once
// Textures and buffers backed by Direct3D 9's own: the in-memory copy every resource keeps is
// written into the native one when a lock ends.

#include "platform/gfx/Resources.h"

struct IDirect3DTexture9;
struct IDirect3DVertexBuffer9;
struct IDirect3DIndexBuffer9;

namespace gfx::d3d9 {

class D3d9Texture final : public Texture {
public:
    // Takes over the caller's reference to `native`.
    D3d9Texture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                IDirect3DTexture9* native);
    ~D3d9Texture() override;
    IDirect3DTexture9* Native() const { return native_; }

protected:
    void LevelChanged(uint32_t level, const RECT& rect) override;

private:
    IDirect3DTexture9* native_;
    bool lockable_;
};

class D3d9VertexBuffer final : public VertexBuffer {
public:
    D3d9VertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool, IDirect3DVertexBuffer9* native);
    ~D3d9VertexBuffer() override;
    IDirect3DVertexBuffer9* Native() const { return native_; }

protected:
    void RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) override;

private:
    IDirect3DVertexBuffer9* native_;
};

class D3d9IndexBuffer final : public IndexBuffer {
public:
    D3d9IndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9* native);
    ~D3d9IndexBuffer() override;
    IDirect3DIndexBuffer9* Native() const { return native_; }

protected:
    void RangeChanged(uint32_t offset, uint32_t size, uint32_t lockFlags) override;

private:
    IDirect3DIndexBuffer9* native_;
};

}  // namespace gfx::d3d9
