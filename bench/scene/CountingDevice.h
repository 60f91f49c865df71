#pragma once
// A device that draws nothing and logs nothing: it keeps Direct3D's state and counts the state
// calls it receives beside those that changed a value, so the scene's redundant calls show.

#include <cstring>

#include "platform/gfx/StateDevice.h"

class CountingDevice final : public gfx::StateDevice {
public:
    CountingDevice() { RestoreDefaultStates(true); }

    uint64_t calls = 0;     // state-setting calls
    uint64_t changes = 0;   // of them, the ones that changed the device's state
    uint64_t draws = 0;

    void resetCounts() { calls = changes = draws = 0; }

    gfx::HRESULT Reset(gfx::D3DPRESENT_PARAMETERS&) override { return gfx::D3D_OK; }
    gfx::HRESULT GetDeviceCaps(gfx::D3DCAPS9& caps) override {
        caps = {};
        return gfx::D3D_OK;
    }
    gfx::HRESULT GetBackBufferDesc(gfx::D3DSURFACE_DESC& desc) override {
        desc = {};
        return gfx::D3D_OK;
    }
    gfx::HRESULT Clear(uint32_t, const gfx::D3DRECT*, uint32_t, gfx::D3DCOLOR, float, uint32_t) override {
        return gfx::D3D_OK;
    }
    gfx::HRESULT Present() override { return gfx::D3D_OK; }
    gfx::HRESULT GetFrontBufferData(uint32_t, std::vector<uint32_t>&, uint32_t&, uint32_t&) override {
        return gfx::D3DERR_NOTAVAILABLE;
    }

    gfx::HRESULT SetRenderState(gfx::D3DRENDERSTATETYPE state, uint32_t value) override {
        count(RenderState(state) != value);
        return StateDevice::SetRenderState(state, value);
    }
    gfx::HRESULT SetTextureStageState(uint32_t stage, gfx::D3DTEXTURESTAGESTATETYPE type, uint32_t value) override {
        count(StageState(stage, type) != value);
        return StateDevice::SetTextureStageState(stage, type, value);
    }
    gfx::HRESULT SetSamplerState(uint32_t sampler, gfx::D3DSAMPLERSTATETYPE type, uint32_t value) override {
        count(SamplerState(sampler, type) != value);
        return StateDevice::SetSamplerState(sampler, type, value);
    }
    gfx::HRESULT SetTexture(uint32_t stage, gfx::Texture* texture) override {
        count(BoundTexture(stage) != texture);
        return StateDevice::SetTexture(stage, texture);
    }
    gfx::HRESULT SetTransform(gfx::D3DTRANSFORMSTATETYPE state, const gfx::D3DMATRIX* matrix) override {
        count(!(Transform(state) == *matrix));
        return StateDevice::SetTransform(state, matrix);
    }
    gfx::HRESULT SetLight(uint32_t index, const gfx::D3DLIGHT9* light) override {
        const auto slot = Lights().find(index);
        count(slot == Lights().end() || std::memcmp(&slot->second.light, light, sizeof(*light)) != 0);
        return StateDevice::SetLight(index, light);
    }
    gfx::HRESULT LightEnable(uint32_t index, bool enable) override {
        const auto slot = Lights().find(index);
        count(slot == Lights().end() || slot->second.enabled != enable);
        return StateDevice::LightEnable(index, enable);
    }
    gfx::HRESULT SetMaterial(const gfx::D3DMATERIAL9* material) override {
        count(std::memcmp(&Material(), material, sizeof(*material)) != 0);
        return StateDevice::SetMaterial(material);
    }
    gfx::HRESULT SetFVF(uint32_t fvf) override {
        count(Fvf() != fvf);
        return StateDevice::SetFVF(fvf);
    }
    gfx::HRESULT SetStreamSource(uint32_t stream, gfx::VertexBuffer* buffer, uint32_t offset, uint32_t stride) override {
        count(Stream0().buffer.get() != buffer || Stream0().offset != offset || Stream0().stride != stride);
        return StateDevice::SetStreamSource(stream, buffer, offset, stride);
    }
    gfx::HRESULT SetIndices(gfx::IndexBuffer* buffer) override {
        count(Indices() != buffer);
        return StateDevice::SetIndices(buffer);
    }

    gfx::HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, gfx::D3DFORMAT format,
                               gfx::D3DPOOL pool, gfx::Ref<gfx::Texture>& out) override {
        out = gfx::MakeRef<gfx::Texture>(width, height, levels, usage, format, pool);
        return gfx::D3D_OK;
    }
    gfx::HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, gfx::D3DPOOL pool,
                                    gfx::Ref<gfx::VertexBuffer>& out) override {
        out = gfx::MakeRef<gfx::VertexBuffer>(length, usage, fvf, pool);
        return gfx::D3D_OK;
    }
    gfx::HRESULT CreateIndexBuffer(uint32_t length, uint32_t usage, gfx::D3DFORMAT format, gfx::D3DPOOL pool,
                                   gfx::Ref<gfx::IndexBuffer>& out) override {
        out = gfx::MakeRef<gfx::IndexBuffer>(length, usage, format, pool);
        return gfx::D3D_OK;
    }
    gfx::HRESULT DrawPrimitive(gfx::D3DPRIMITIVETYPE, uint32_t, uint32_t) override {
        ++draws;
        return gfx::D3D_OK;
    }
    gfx::HRESULT DrawIndexedPrimitive(gfx::D3DPRIMITIVETYPE, int32_t, uint32_t, uint32_t, uint32_t, uint32_t) override {
        ++draws;
        return gfx::D3D_OK;
    }
    gfx::HRESULT DrawPrimitiveUP(gfx::D3DPRIMITIVETYPE, uint32_t, const void*, uint32_t) override {
        ++draws;
        return gfx::D3D_OK;
    }

private:
    void count(bool changed) {
        ++calls;
        if (changed) ++changes;
    }
};
