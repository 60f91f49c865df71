#pragma once
// The state half of a device, shared by every implementation: Direct3D 9's state tables with
// their defaults, the bound resources, the gamma ramp, simulated loss, and which groups of state
// changed since a backend last looked.

#include <array>
#include <map>

#include "platform/gfx/Device.h"

namespace gfx {

class StateDevice : public Device {
public:
    // Groups of state a backend re-reads when they changed.
    enum Dirty : uint32_t {
        kDirtyPipeline = 1u << 0,   // blending, depth, culling, fill and colour masks
        kDirtyProgram = 1u << 1,    // anything the generated shader depends on
        kDirtyConstants = 1u << 2,  // transforms, lights, material, factors, fog
        kDirtyTextures = 1u << 3,
        kDirtySamplers = 1u << 4,
        kDirtyStreams = 1u << 5,
        kDirtyAll = 0x3F,
    };

    struct LightSlot {
        D3DLIGHT9 light;
        bool enabled = false;
    };
    struct Stream {
        Ref<VertexBuffer> buffer;
        uint32_t offset = 0;
        uint32_t stride = 0;
    };

    HRESULT TestCooperativeLevel() override;
    void SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) override;
    void GetGammaRamp(uint32_t swapChain, D3DGAMMARAMP& ramp) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) override;
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) override;
    HRESULT GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) override;
    HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) override;
    HRESULT GetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t* value) override;
    HRESULT SetTexture(uint32_t stage, Texture* texture) override;
    HRESULT GetTexture(uint32_t stage, Texture** texture) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) override;
    HRESULT GetLight(uint32_t index, D3DLIGHT9* light) override;
    HRESULT LightEnable(uint32_t index, bool enable) override;
    HRESULT GetLightEnable(uint32_t index, bool* enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetFVF(uint32_t fvf) override;
    HRESULT GetFVF(uint32_t* fvf) override;
    HRESULT SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
    HRESULT SetIndices(IndexBuffer* buffer) override;

    void SimulateDeviceLoss() override;
    void SimulateDeviceRestore() override;

    // State as the backend reads it.
    uint32_t RenderState(D3DRENDERSTATETYPE state) const { return renderStates_[state]; }
    uint32_t StageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type) const { return stageStates_[stage][type]; }
    uint32_t SamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type) const { return samplerStates_[sampler][type]; }
    Texture* BoundTexture(uint32_t stage) const { return textures_[stage].get(); }
    const D3DMATRIX& Transform(D3DTRANSFORMSTATETYPE state) const;
    const std::map<uint32_t, LightSlot>& Lights() const { return lights_; }
    const D3DMATERIAL9& Material() const { return material_; }
    uint32_t Fvf() const { return fvf_; }
    const Stream& Stream0() const { return stream0_; }
    IndexBuffer* Indices() const { return indices_.get(); }
    const D3DGAMMARAMP& GammaRamp() const { return gammaRamp_; }
    bool InScene() const { return inScene_; }

protected:
    StateDevice();
    // Puts every state back to its Direct3D default, as creation and Reset do.
    void RestoreDefaultStates(bool autoDepthStencil);
    // Loss bookkeeping for Reset and Present: the code a Reset must fail with, or D3D_OK.
    HRESULT ResetBlocker() const;
    void ResetSucceeded() { lossState_ = LossState::kNone; }
    bool IsLost() const { return lossState_ == LossState::kLost; }

    uint32_t TakeDirty() { return std::exchange(dirty_, 0u); }
    void MarkDirty(uint32_t bits) { dirty_ |= bits; }
    void UnbindStream0();

private:
    enum class LossState { kNone, kLost, kNeedsReset };

    std::array<uint32_t, kRenderStateCount> renderStates_{};
    std::array<std::array<uint32_t, kTextureStageStateCount>, kMaxTextureStages> stageStates_{};
    std::array<std::array<uint32_t, kSamplerStateCount>, kMaxTextureStages> samplerStates_{};
    std::array<Ref<Texture>, kMaxTextureStages> textures_;
    std::array<D3DMATRIX, kTransformSlotCount> transforms_;
    std::map<uint32_t, LightSlot> lights_;
    D3DMATERIAL9 material_;
    uint32_t fvf_ = 0;
    Stream stream0_;
    Ref<IndexBuffer> indices_;
    D3DGAMMARAMP gammaRamp_;
    bool inScene_ = false;
    LossState lossState_ = LossState::kNone;
    uint32_t dirty_ = kDirtyAll;
};

// The description of the back buffer that `parameters` make.
D3DSURFACE_DESC BackBufferDescOf(const D3DPRESENT_PARAMETERS& parameters);

}  // namespace gfx
