#include "platform/gfx/d3d9/D3d9Device.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/gfx/StateDevice.h"
#include "platform/gfx/d3d9/D3d9Resources.h"

// After our headers: <windows.h> defines names of ours as macros.
#include <d3d9.h>

namespace gfx::d3d9 {
namespace {

template <typename T>
T Native(uint32_t value) {
    return static_cast<T>(value);
}

// Direct3D keeps a COPY swap chain's back buffer as it was presented, so the presented frame can
// be read back from it; DISCARD gives no such promise. Windowed, the two present alike.
::D3DPRESENT_PARAMETERS NativeParameters(const D3DPRESENT_PARAMETERS& p) {
    ::D3DPRESENT_PARAMETERS n{};
    n.BackBufferWidth = p.BackBufferWidth;
    n.BackBufferHeight = p.BackBufferHeight;
    n.BackBufferFormat = Native<::D3DFORMAT>(p.BackBufferFormat);
    n.BackBufferCount = p.BackBufferCount;
    n.MultiSampleType = Native<::D3DMULTISAMPLE_TYPE>(p.MultiSampleType);
    n.MultiSampleQuality = p.MultiSampleQuality;
    n.SwapEffect = Native<::D3DSWAPEFFECT>(p.SwapEffect);
    if (p.SwapEffect == D3DSWAPEFFECT_DISCARD && p.MultiSampleType == D3DMULTISAMPLE_NONE && p.BackBufferCount <= 1) {
        n.SwapEffect = ::D3DSWAPEFFECT_COPY;
    }
    n.hDeviceWindow = static_cast<HWND>(p.hDeviceWindow);
    n.Windowed = p.Windowed || OnVirtualDisplay() ? TRUE : FALSE;
    n.EnableAutoDepthStencil = p.EnableAutoDepthStencil ? TRUE : FALSE;
    n.AutoDepthStencilFormat = Native<::D3DFORMAT>(p.AutoDepthStencilFormat);
    n.Flags = p.Flags;
    n.FullScreen_RefreshRateInHz = n.Windowed ? 0 : p.FullScreen_RefreshRateInHz;
    n.PresentationInterval = p.PresentationInterval;
    return n;
}

// What Direct3D filled in (a windowed back buffer of size 0 takes the window's).
void TakeCompleted(const ::D3DPRESENT_PARAMETERS& n, D3DPRESENT_PARAMETERS& p) {
    p.BackBufferWidth = n.BackBufferWidth;
    p.BackBufferHeight = n.BackBufferHeight;
    p.BackBufferFormat = static_cast<D3DFORMAT>(n.BackBufferFormat);
    p.BackBufferCount = n.BackBufferCount;
}

class D3d9Device final : public StateDevice {
public:
    D3d9Device(Ref<Direct3D> owner, IDirect3DDevice9* native, const D3DPRESENT_PARAMETERS& parameters)
        : owner_(std::move(owner)), native_(native), parameters_(parameters) {
        RestoreDefaultStates(parameters.EnableAutoDepthStencil);
    }

    ~D3d9Device() override {
        Unbind();
        ReleaseReadBack();
        native_->Release();
    }

    HRESULT TestCooperativeLevel() override {
        const HRESULT simulated = StateDevice::TestCooperativeLevel();
        return FAILED(simulated) ? simulated : native_->TestCooperativeLevel();
    }

    HRESULT Reset(D3DPRESENT_PARAMETERS& parameters) override {
        if (const HRESULT blocked = ResetBlocker(); FAILED(blocked)) return blocked;
        // A reset unbinds everything anyway. Unbinding first lets resources the engine already
        // released go, which Direct3D would otherwise count as default-pool resources still held.
        Unbind();
        ReleaseReadBack();
        ::D3DPRESENT_PARAMETERS native = NativeParameters(parameters);
        const HRESULT hr = native_->Reset(&native);
        if (FAILED(hr)) return hr;
        TakeCompleted(native, parameters);
        parameters_ = parameters;
        RestoreDefaultStates(parameters.EnableAutoDepthStencil);
        ResetSucceeded();
        return D3D_OK;
    }

    HRESULT GetDeviceCaps(D3DCAPS9& caps) override {
        ::D3DCAPS9 native;
        const HRESULT hr = native_->GetDeviceCaps(&native);
        if (SUCCEEDED(hr)) caps = CapsOf(native);
        return hr;
    }

    HRESULT GetBackBufferDesc(D3DSURFACE_DESC& desc) override {
        desc = BackBufferDescOf(parameters_);
        return D3D_OK;
    }

    HRESULT BeginScene() override {
        if (const HRESULT hr = StateDevice::BeginScene(); FAILED(hr)) return hr;
        return native_->BeginScene();
    }

    HRESULT EndScene() override {
        if (const HRESULT hr = StateDevice::EndScene(); FAILED(hr)) return hr;
        return native_->EndScene();
    }

    HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                  uint32_t stencil) override {
        if (IsLost()) return D3D_OK;
        return native_->Clear(count, reinterpret_cast<const ::D3DRECT*>(rects), flags, color, z, stencil);
    }

    HRESULT Present() override {
        if (IsLost()) return D3DERR_DEVICELOST;
        if (parameters_.Windowed) ApplyGammaRampToBackBuffer();
        return native_->Present(nullptr, nullptr, nullptr, nullptr);
    }

    void SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) override {
        StateDevice::SetGammaRamp(swapChain, flags, ramp);
        native_->SetGammaRamp(swapChain, flags, reinterpret_cast<const ::D3DGAMMARAMP*>(&ramp));
    }

    // Direct3D's own GetFrontBufferData copies the whole desktop (and gives black under some
    // window systems); this reads our window's last frame from the back buffer, which the COPY
    // swap effect keeps, and applies the gamma ramp as the display would.
    HRESULT GetFrontBufferData(uint32_t swapChain, std::vector<uint32_t>& argb, uint32_t& width,
                               uint32_t& height) override {
        if (swapChain != 0) return D3DERR_INVALIDCALL;
        IDirect3DSurface9* backBuffer = nullptr;
        ::D3DSURFACE_DESC desc;
        HRESULT hr = ReadBackBuffer(backBuffer, desc);
        if (backBuffer) backBuffer->Release();
        ::D3DLOCKED_RECT locked;
        if (SUCCEEDED(hr)) hr = readBack_->LockRect(&locked, nullptr, D3DLOCK_READONLY);
        if (FAILED(hr)) return hr;
        width = desc.Width;
        height = desc.Height;
        argb.resize(static_cast<size_t>(width) * height);
        // A windowed frame has had the ramp applied by our own pass already.
        const D3DGAMMARAMP& ramp = parameters_.Windowed ? IdentityRamp() : GammaRamp();
        for (uint32_t y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                                static_cast<size_t>(y) * locked.Pitch);
            for (uint32_t x = 0; x < width; ++x) {
                argb[static_cast<size_t>(y) * width + x] = 0xFF000000u | ThroughRamp(row[x], ramp);
            }
        }
        readBack_->UnlockRect();
        return D3D_OK;
    }

    // The back buffer and a copy of it in system memory (readBack_), for reading or changing it.
    HRESULT ReadBackBuffer(IDirect3DSurface9*& backBuffer, ::D3DSURFACE_DESC& desc) {
        HRESULT hr = native_->GetBackBuffer(0, 0, ::D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        if (FAILED(hr)) return hr;
        backBuffer->GetDesc(&desc);
        if ((desc.Format != ::D3DFMT_X8R8G8B8 && desc.Format != ::D3DFMT_A8R8G8B8) ||
            desc.MultiSampleType != ::D3DMULTISAMPLE_NONE)
            return D3DERR_NOTAVAILABLE;
        if (readBack_) {
            ::D3DSURFACE_DESC kept;
            readBack_->GetDesc(&kept);
            if (kept.Width != desc.Width || kept.Height != desc.Height || kept.Format != desc.Format) {
                readBack_->Release();
                readBack_ = nullptr;
            }
        }
        if (!readBack_) {
            hr = native_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, ::D3DPOOL_SYSTEMMEM,
                                                      &readBack_, nullptr);
        }
        if (SUCCEEDED(hr)) hr = native_->GetRenderTargetData(backBuffer, readBack_);
        return hr;
    }

    // Direct3D applies a swap chain's gamma ramp only full screen; in a window (and so in a
    // preview) the frame goes through the ramp here, on the processor, before it is shown.
    void ApplyGammaRampToBackBuffer() {
        const D3DGAMMARAMP& ramp = GammaRamp();
        if (std::memcmp(&ramp, &IdentityRamp(), sizeof ramp) == 0) return;
        IDirect3DSurface9* backBuffer = nullptr;
        ::D3DSURFACE_DESC desc;
        HRESULT hr = ReadBackBuffer(backBuffer, desc);
        ::D3DLOCKED_RECT locked;
        if (SUCCEEDED(hr)) hr = readBack_->LockRect(&locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            for (uint32_t y = 0; y < desc.Height; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
                for (uint32_t x = 0; x < desc.Width; ++x) {
                    row[x] = (row[x] & 0xFF000000u) | ThroughRamp(row[x], ramp);
                }
            }
            readBack_->UnlockRect();
            native_->UpdateSurface(readBack_, nullptr, backBuffer, nullptr);
        }
        if (backBuffer) backBuffer->Release();
    }

    // A pixel's colour as the ramp maps it (its alpha left out), as the display would show it.
    static uint32_t ThroughRamp(uint32_t c, const D3DGAMMARAMP& ramp) {
        return static_cast<uint32_t>(ramp.red[(c >> 16) & 0xFF] >> 8) << 16 |
               static_cast<uint32_t>(ramp.green[(c >> 8) & 0xFF] >> 8) << 8 | ramp.blue[c & 0xFF] >> 8;
    }

    static const D3DGAMMARAMP& IdentityRamp() {
        static const D3DGAMMARAMP identity = [] {
            D3DGAMMARAMP r{};
            for (int i = 0; i < 256; ++i) r.red[i] = r.green[i] = r.blue[i] = static_cast<uint16_t>(i * 257);
            return r;
        }();
        return identity;
    }

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override {
        if (const HRESULT hr = StateDevice::SetRenderState(state, value); FAILED(hr)) return hr;
        return native_->SetRenderState(Native<::D3DRENDERSTATETYPE>(state), value);
    }

    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) override {
        if (const HRESULT hr = StateDevice::SetTextureStageState(stage, type, value); FAILED(hr)) return hr;
        return native_->SetTextureStageState(stage, Native<::D3DTEXTURESTAGESTATETYPE>(type), value);
    }

    HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) override {
        if (const HRESULT hr = StateDevice::SetSamplerState(sampler, type, value); FAILED(hr)) return hr;
        return native_->SetSamplerState(sampler, Native<::D3DSAMPLERSTATETYPE>(type), value);
    }

    HRESULT SetTexture(uint32_t stage, Texture* texture) override {
        if (const HRESULT hr = StateDevice::SetTexture(stage, texture); FAILED(hr)) return hr;
        return native_->SetTexture(stage, texture ? static_cast<D3d9Texture*>(texture)->Native() : nullptr);
    }

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        if (const HRESULT hr = StateDevice::SetTransform(state, matrix); FAILED(hr)) return hr;
        return native_->SetTransform(Native<::D3DTRANSFORMSTATETYPE>(state), reinterpret_cast<const ::D3DMATRIX*>(matrix));
    }

    HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) override {
        if (const HRESULT hr = StateDevice::SetLight(index, light); FAILED(hr)) return hr;
        return native_->SetLight(index, reinterpret_cast<const ::D3DLIGHT9*>(light));
    }

    HRESULT LightEnable(uint32_t index, bool enable) override {
        if (const HRESULT hr = StateDevice::LightEnable(index, enable); FAILED(hr)) return hr;
        return native_->LightEnable(index, enable ? TRUE : FALSE);
    }

    HRESULT SetMaterial(const D3DMATERIAL9* material) override {
        if (const HRESULT hr = StateDevice::SetMaterial(material); FAILED(hr)) return hr;
        return native_->SetMaterial(reinterpret_cast<const ::D3DMATERIAL9*>(material));
    }

    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, Ref<Texture>& out) override {
        out.Reset();
        if (LayoutOf(format).blockBytes == 0) return D3DERR_INVALIDCALL;  // our copy could not hold it
        IDirect3DTexture9* native = nullptr;
        const HRESULT hr = native_->CreateTexture(width, height, levels, usage, Native<::D3DFORMAT>(format),
                                                  Native<::D3DPOOL>(pool), &native, nullptr);
        if (SUCCEEDED(hr)) out = MakeRef<D3d9Texture>(width, height, levels, usage, format, pool, native);
        return hr;
    }

    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               Ref<VertexBuffer>& out) override {
        out.Reset();
        IDirect3DVertexBuffer9* native = nullptr;
        const HRESULT hr = native_->CreateVertexBuffer(length, usage, fvf, Native<::D3DPOOL>(pool), &native, nullptr);
        if (SUCCEEDED(hr)) out = MakeRef<D3d9VertexBuffer>(length, usage, fvf, pool, native);
        return hr;
    }

    HRESULT CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                              Ref<IndexBuffer>& out) override {
        out.Reset();
        IDirect3DIndexBuffer9* native = nullptr;
        const HRESULT hr = native_->CreateIndexBuffer(length, usage, Native<::D3DFORMAT>(format),
                                                      Native<::D3DPOOL>(pool), &native, nullptr);
        if (SUCCEEDED(hr)) out = MakeRef<D3d9IndexBuffer>(length, usage, format, pool, native);
        return hr;
    }

    HRESULT SetFVF(uint32_t fvf) override {
        if (const HRESULT hr = StateDevice::SetFVF(fvf); FAILED(hr)) return hr;
        return native_->SetFVF(fvf);
    }

    HRESULT SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override {
        if (const HRESULT hr = StateDevice::SetStreamSource(stream, buffer, offset, stride); FAILED(hr)) return hr;
        return native_->SetStreamSource(stream, buffer ? static_cast<D3d9VertexBuffer*>(buffer)->Native() : nullptr,
                                        offset, stride);
    }

    HRESULT SetIndices(IndexBuffer* buffer) override {
        if (const HRESULT hr = StateDevice::SetIndices(buffer); FAILED(hr)) return hr;
        return native_->SetIndices(buffer ? static_cast<D3d9IndexBuffer*>(buffer)->Native() : nullptr);
    }

    // Draws are checked against the bound buffers first, as the OpenGL device checks them:
    // Direct3D's release runtime would let a damaged file's draw read past them.
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override {
        if (const DrawCheck check = CheckDraw(type, startVertex, primitiveCount); check != DrawCheck::kDraw) {
            return ResultOf(check);
        }
        if (IsLost()) return D3D_OK;
        return native_->DrawPrimitive(Native<::D3DPRIMITIVETYPE>(type), startVertex, primitiveCount);
    }

    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertexIndex, uint32_t minIndex,
                                 uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) override {
        if (const DrawCheck check =
                CheckIndexedDraw(type, baseVertexIndex, minIndex, numVertices, startIndex, primitiveCount);
            check != DrawCheck::kDraw) {
            return ResultOf(check);
        }
        if (IsLost()) return D3D_OK;
        return native_->DrawIndexedPrimitive(Native<::D3DPRIMITIVETYPE>(type), baseVertexIndex, minIndex, numVertices,
                                             startIndex, primitiveCount);
    }

    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override {
        UnbindStream0();  // Direct3D unbinds it too
        if (vertices == nullptr || stride == 0 || VertexCountOf(type, primitiveCount) == 0) return D3DERR_INVALIDCALL;
        if (IsLost()) return D3D_OK;
        return native_->DrawPrimitiveUP(Native<::D3DPRIMITIVETYPE>(type), primitiveCount, vertices, stride);
    }

private:
    // Lets go of the bound textures and buffers, ours and Direct3D's.
    void Unbind() {
        RestoreDefaultStates(false);
        native_->SetIndices(nullptr);
        native_->SetStreamSource(0, nullptr, 0, 0);
        for (DWORD stage = 0; stage < kMaxTextureStages; ++stage) native_->SetTexture(stage, nullptr);
    }

    void ReleaseReadBack() {
        if (readBack_) readBack_->Release();
        readBack_ = nullptr;
    }

    Ref<Direct3D> owner_;
    IDirect3DDevice9* native_;
    D3DPRESENT_PARAMETERS parameters_;
    IDirect3DSurface9* readBack_ = nullptr;  // system-memory copy for GetFrontBufferData
};

}  // namespace

D3DCAPS9 CapsOf(const _D3DCAPS9& n) {
    D3DCAPS9 c;
    c.DeviceType = static_cast<D3DDEVTYPE>(n.DeviceType);
    c.AdapterOrdinal = n.AdapterOrdinal;
    c.Caps = n.Caps;
    c.Caps2 = n.Caps2;
    c.Caps3 = n.Caps3;
    c.PresentationIntervals = n.PresentationIntervals;
    c.DevCaps = n.DevCaps;
    c.PrimitiveMiscCaps = n.PrimitiveMiscCaps;
    c.RasterCaps = n.RasterCaps;
    c.ZCmpCaps = n.ZCmpCaps;
    c.SrcBlendCaps = n.SrcBlendCaps;
    c.DestBlendCaps = n.DestBlendCaps;
    c.AlphaCmpCaps = n.AlphaCmpCaps;
    c.ShadeCaps = n.ShadeCaps;
    c.TextureCaps = n.TextureCaps;
    c.TextureFilterCaps = n.TextureFilterCaps;
    c.TextureAddressCaps = n.TextureAddressCaps;
    c.MaxTextureWidth = n.MaxTextureWidth;
    c.MaxTextureHeight = n.MaxTextureHeight;
    c.MaxTextureRepeat = n.MaxTextureRepeat;
    c.MaxAnisotropy = n.MaxAnisotropy;
    c.TextureOpCaps = n.TextureOpCaps;
    c.FVFCaps = n.FVFCaps;
    c.MaxTextureBlendStages = n.MaxTextureBlendStages;
    c.MaxSimultaneousTextures = n.MaxSimultaneousTextures;
    c.VertexProcessingCaps = n.VertexProcessingCaps;
    c.MaxActiveLights = n.MaxActiveLights;
    c.MaxPrimitiveCount = n.MaxPrimitiveCount;
    c.MaxVertexIndex = n.MaxVertexIndex;
    c.MaxStreams = n.MaxStreams;
    c.MaxStreamStride = n.MaxStreamStride;
    c.MaxPointSize = n.MaxPointSize;
    c.VertexShaderVersion = n.VertexShaderVersion;
    c.PixelShaderVersion = n.PixelShaderVersion;
    return c;
}

HRESULT CreateD3d9Device(Ref<Direct3D> owner, IDirect3D9* direct3d, uint32_t adapter, D3DDEVTYPE type,
                         void* focusWindow, uint32_t behaviorFlags, D3DPRESENT_PARAMETERS& parameters,
                         Ref<Device>& out) {
    out.Reset();
    ::D3DPRESENT_PARAMETERS native = NativeParameters(parameters);
    IDirect3DDevice9* device = nullptr;
    const HRESULT hr = direct3d->CreateDevice(adapter, Native<::D3DDEVTYPE>(type), static_cast<HWND>(focusWindow),
                                              behaviorFlags, &native, &device);
    if (FAILED(hr)) return hr;
    TakeCompleted(native, parameters);
    out = MakeRef<D3d9Device>(std::move(owner), device, parameters);
    return D3D_OK;
}

}  // namespace gfx::d3d9
