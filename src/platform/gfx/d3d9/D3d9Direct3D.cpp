// The Direct3D object on Windows: d3d9.dll loaded at run time (a machine without it gets the
// "no Direct3D" path instead of a loader error), its answers passed through.

#include <cstdio>
#include <cstring>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/d3d9/D3d9Device.h"

// After our headers: <windows.h> defines names of ours as macros.
#include <d3d9.h>

namespace gfx {
namespace {

D3DDISPLAYMODE g_virtualDisplay;

template <typename T>
T Native(uint32_t value) {
    return static_cast<T>(value);
}

class D3d9Direct3D final : public Direct3D {
public:
    D3d9Direct3D(HMODULE library, IDirect3D9* native) : library_(library), native_(native) {}
    ~D3d9Direct3D() override {
        native_->Release();
        FreeLibrary(library_);
    }

    uint32_t GetAdapterCount() override { return native_->GetAdapterCount(); }

    HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags, D3DADAPTER_IDENTIFIER9& identifier) override {
        ::D3DADAPTER_IDENTIFIER9 n;
        const HRESULT hr = native_->GetAdapterIdentifier(adapter, flags, &n);
        if (FAILED(hr)) return hr;
        identifier = {};
        std::snprintf(identifier.Driver, sizeof(identifier.Driver), "%s", n.Driver);
        std::snprintf(identifier.Description, sizeof(identifier.Description), "%s", n.Description);
        std::snprintf(identifier.DeviceName, sizeof(identifier.DeviceName), "%s", n.DeviceName);
        identifier.VendorId = n.VendorId;
        identifier.DeviceId = n.DeviceId;
        return D3D_OK;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter, D3DFORMAT format) override {
        if (Virtual()) return adapter == 0 && format == g_virtualDisplay.Format ? 1 : 0;
        return native_->GetAdapterModeCount(adapter, Native<::D3DFORMAT>(format));
    }

    HRESULT EnumAdapterModes(uint32_t adapter, D3DFORMAT format, uint32_t index, D3DDISPLAYMODE& out) override {
        if (Virtual()) {
            if (adapter != 0 || format != g_virtualDisplay.Format || index != 0) return D3DERR_INVALIDCALL;
            out = g_virtualDisplay;
            return D3D_OK;
        }
        ::D3DDISPLAYMODE n;
        const HRESULT hr = native_->EnumAdapterModes(adapter, Native<::D3DFORMAT>(format), index, &n);
        if (SUCCEEDED(hr)) out = ModeOf(n);
        return hr;
    }

    HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE& mode) override {
        if (Virtual()) {
            if (adapter != 0) return D3DERR_INVALIDCALL;
            mode = g_virtualDisplay;
            return D3D_OK;
        }
        ::D3DDISPLAYMODE n;
        const HRESULT hr = native_->GetAdapterDisplayMode(adapter, &n);
        if (SUCCEEDED(hr)) mode = ModeOf(n);
        return hr;
    }

    HRESULT GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS9& caps) override {
        ::D3DCAPS9 n;
        const HRESULT hr = native_->GetDeviceCaps(adapter, Native<::D3DDEVTYPE>(type), &n);
        if (SUCCEEDED(hr)) caps = d3d9::CapsOf(n);
        return hr;
    }

    HRESULT CheckDeviceType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                            bool windowed) override {
        return native_->CheckDeviceType(adapter, Native<::D3DDEVTYPE>(type), Native<::D3DFORMAT>(adapterFormat),
                                        Native<::D3DFORMAT>(backBufferFormat), windowed ? TRUE : FALSE);
    }

    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, uint32_t usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override {
        return native_->CheckDeviceFormat(adapter, Native<::D3DDEVTYPE>(type), Native<::D3DFORMAT>(adapterFormat),
                                          usage, Native<::D3DRESOURCETYPE>(resourceType),
                                          Native<::D3DFORMAT>(checkFormat));
    }

    HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) override {
        return native_->CheckDepthStencilMatch(adapter, Native<::D3DDEVTYPE>(type), Native<::D3DFORMAT>(adapterFormat),
                                               Native<::D3DFORMAT>(renderTargetFormat),
                                               Native<::D3DFORMAT>(depthStencilFormat));
    }

    HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat, bool windowed,
                                       D3DMULTISAMPLE_TYPE multiSample, uint32_t* qualityLevels) override {
        DWORD levels = 0;
        const HRESULT hr = native_->CheckDeviceMultiSampleType(adapter, Native<::D3DDEVTYPE>(type),
                                                               Native<::D3DFORMAT>(surfaceFormat), windowed ? TRUE : FALSE,
                                                               Native<::D3DMULTISAMPLE_TYPE>(multiSample), &levels);
        if (SUCCEEDED(hr) && qualityLevels) *qualityLevels = levels;
        return hr;
    }

    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE type, void* focusWindow, uint32_t behaviorFlags,
                         D3DPRESENT_PARAMETERS& parameters, Ref<Device>& out) override {
        return d3d9::CreateD3d9Device(Ref<Direct3D>(this), native_, adapter, type, focusWindow, behaviorFlags,
                                      parameters, out);
    }

private:
    static bool Virtual() { return g_virtualDisplay.Width != 0; }
    static D3DDISPLAYMODE ModeOf(const ::D3DDISPLAYMODE& n) {
        return {n.Width, n.Height, n.RefreshRate, static_cast<D3DFORMAT>(n.Format)};
    }

    HMODULE library_;
    IDirect3D9* native_;
};

}  // namespace

bool d3d9::OnVirtualDisplay() { return g_virtualDisplay.Width != 0; }

void UseVirtualDisplay(uint32_t width, uint32_t height, uint32_t refreshRate) {
    g_virtualDisplay = {width, height, refreshRate, D3DFMT_X8R8G8B8};
}

Ref<Direct3D> PlatformDirect3DCreate9(uint32_t sdkVersion) {
    HMODULE library = LoadLibraryA("d3d9.dll");
    if (!library) return nullptr;
    using Create = IDirect3D9*(WINAPI*)(UINT);
    const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate9")));
    IDirect3D9* native = create ? create(sdkVersion) : nullptr;
    if (!native) {
        FreeLibrary(library);
        return nullptr;
    }
    return MakeRef<D3d9Direct3D>(library, native);
}

}  // namespace gfx
