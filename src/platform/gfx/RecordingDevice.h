#pragma once
// A device that draws nothing and needs no GPU: it keeps Direct3D's state and logs every call as
// one line, "Name(arg, arg, ...)", so engine code can be tested anywhere.

#include <string>
#include <vector>

#include "platform/gfx/StateDevice.h"

namespace gfx {

class RecordingDevice : public StateDevice {
public:
    explicit RecordingDevice(const D3DPRESENT_PARAMETERS& parameters = {}, const D3DCAPS9& caps = {});

    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // With the log off the device only keeps state, so a benchmark counts the engine's own
    // allocations.
    void SetLogging(bool on) { logging_ = on; }
    // Lines that start with `name` followed by "(".
    size_t CountCalls(const std::string& name) const;
    uint32_t PresentCount() const { return presents_; }
    // Makes the next Reset calls fail, as a driver that cannot restore the mode would.
    void SetResetFails(bool fails) { resetFails_ = fails; }

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS& parameters) override;
    HRESULT GetDeviceCaps(D3DCAPS9& caps) override;
    HRESULT GetBackBufferDesc(D3DSURFACE_DESC& desc) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                  uint32_t stencil) override;
    HRESULT Present() override;
    void SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) override;
    HRESULT GetFrontBufferData(uint32_t swapChain, std::vector<uint32_t>& argb, uint32_t& width,
                               uint32_t& height) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) override;
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) override;
    HRESULT GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) override;
    HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) override;
    HRESULT GetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t* value) override;
    HRESULT SetTexture(uint32_t stage, Texture* texture) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) override;
    HRESULT LightEnable(uint32_t index, bool enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;

    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, Ref<Texture>& out) override;
    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               Ref<VertexBuffer>& out) override;
    HRESULT CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                              Ref<IndexBuffer>& out) override;

    HRESULT SetFVF(uint32_t fvf) override;
    HRESULT SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
    HRESULT SetIndices(IndexBuffer* buffer) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertexIndex, uint32_t minIndex,
                                 uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override;

private:
    template <typename... Args>
    void Record(const char* name, Args... args);

    D3DPRESENT_PARAMETERS parameters_;
    D3DCAPS9 caps_;
    std::vector<std::string> calls_;
    uint32_t presents_ = 0;
    bool logging_ = true;
    bool resetFails_ = false;
};

}  // namespace gfx
