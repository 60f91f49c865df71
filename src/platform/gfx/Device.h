#pragma once
// The Direct3D 9 device as the engine uses it: the same calls, numbers and return codes.
// Implementations: the OpenGL device (platform/gfx/gl) and the recording device for tests.

#include <cstdint>
#include <vector>

#include "platform/gfx/Object.h"
#include "platform/gfx/Resources.h"
#include "platform/gfx/States.h"
#include "platform/gfx/Types.h"

namespace gfx {

class Device : public Object {
public:
    // Frame and device life.
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS& parameters) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS9& caps) = 0;
    // The description of back buffer 0 of swap chain 0.
    virtual HRESULT GetBackBufferDesc(D3DSURFACE_DESC& desc) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                          uint32_t stencil) = 0;
    // Presents the whole back buffer.
    virtual HRESULT Present() = 0;
    virtual void SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) = 0;
    virtual void GetGammaRamp(uint32_t swapChain, D3DGAMMARAMP& ramp) = 0;
    // The last presented frame as the display shows it (gamma ramp applied): ARGB words, top row
    // first.
    virtual HRESULT GetFrontBufferData(uint32_t swapChain, std::vector<uint32_t>& argb, uint32_t& width,
                                       uint32_t& height) = 0;

    // States.
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) = 0;
    virtual HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) = 0;
    virtual HRESULT GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) = 0;
    virtual HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) = 0;
    virtual HRESULT GetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t* value) = 0;
    virtual HRESULT SetTexture(uint32_t stage, Texture* texture) = 0;
    virtual HRESULT GetTexture(uint32_t stage, Texture** texture) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) = 0;
    virtual HRESULT GetLight(uint32_t index, D3DLIGHT9* light) = 0;
    virtual HRESULT LightEnable(uint32_t index, bool enable) = 0;
    virtual HRESULT GetLightEnable(uint32_t index, bool* enable) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL9* material) = 0;

    // Resources. On failure `out` stays empty.
    virtual HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                                  D3DPOOL pool, Ref<Texture>& out) = 0;
    virtual HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                       Ref<VertexBuffer>& out) = 0;
    virtual HRESULT CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                      Ref<IndexBuffer>& out) = 0;

    // Drawing.
    virtual HRESULT SetFVF(uint32_t fvf) = 0;
    virtual HRESULT GetFVF(uint32_t* fvf) = 0;
    virtual HRESULT SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) = 0;
    virtual HRESULT SetIndices(IndexBuffer* buffer) = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertexIndex, uint32_t minIndex,
                                         uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) = 0;
    // Draws from the caller's memory; resets stream 0, as Direct3D does.
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                    uint32_t stride) = 0;

    // Test support: makes the device report loss (D3DERR_DEVICELOST) until `SimulateDeviceRestore`,
    // after which it needs a Reset (D3DERR_DEVICENOTRESET).
    virtual void SimulateDeviceLoss() = 0;
    virtual void SimulateDeviceRestore() = 0;
};

// Vertices a draw of `primitiveCount` primitives of `type` reads; 0 for an unknown type.
uint32_t VertexCountOf(D3DPRIMITIVETYPE type, uint32_t primitiveCount);

}  // namespace gfx
