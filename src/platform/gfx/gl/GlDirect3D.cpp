// The Direct3D object on Linux: SDL's displays and modes, and the OpenGL driver's abilities
// described as a Direct3D 9 hardware device.

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/States.h"
#include "platform/gfx/gl/GlContext.h"
#include "platform/gfx/gl/GlDevice.h"
#include "platform/gfx/gl/GlResources.h"

namespace gfx {
namespace {

D3DDISPLAYMODE g_virtualDisplay;

D3DFORMAT FormatOfSdl(Uint32 format) {
    switch (format) {
        case SDL_PIXELFORMAT_RGB565:
            return D3DFMT_R5G6B5;
        case SDL_PIXELFORMAT_RGB555:
            return D3DFMT_X1R5G5B5;
        case SDL_PIXELFORMAT_ARGB2101010:
            return D3DFMT_A2R10G10B10;
        default:
            return D3DFMT_X8R8G8B8;  // 24- and 32-bit displays
    }
}

uint32_t RefreshOf(int hz) { return hz > 0 ? static_cast<uint32_t>(hz) : 60; }

// Back-buffer formats a display format presents, as Direct3D 9 hardware allows them.
bool Presents(D3DFORMAT display, D3DFORMAT backBuffer) {
    switch (display) {
        case D3DFMT_X8R8G8B8:
            return backBuffer == D3DFMT_X8R8G8B8 || backBuffer == D3DFMT_A8R8G8B8;
        case D3DFMT_R5G6B5:
            return backBuffer == D3DFMT_R5G6B5;
        case D3DFMT_X1R5G5B5:
            return backBuffer == D3DFMT_X1R5G5B5 || backBuffer == D3DFMT_A1R5G5B5;
        default:
            return false;
    }
}

bool IsDepthFormat(D3DFORMAT format) {
    return format == D3DFMT_D16 || format == D3DFMT_D24X8 || format == D3DFMT_D24S8;
}

class GlDirect3D final : public Direct3D {
public:
    explicit GlDirect3D(const gl::GlCapabilities& caps) : caps_(caps) { ReadDisplays(); }
    ~GlDirect3D() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    uint32_t GetAdapterCount() override { return static_cast<uint32_t>(displays_.size()); }

    HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t, D3DADAPTER_IDENTIFIER9& identifier) override {
        if (adapter >= displays_.size()) return D3DERR_INVALIDCALL;
        identifier = {};
        std::snprintf(identifier.Driver, sizeof(identifier.Driver), "OpenGL 3.3 core");
        std::snprintf(identifier.Description, sizeof(identifier.Description), "%s", caps_.renderer);
        std::snprintf(identifier.DeviceName, sizeof(identifier.DeviceName), "display%u", adapter);
        return D3D_OK;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter, D3DFORMAT format) override {
        if (adapter >= displays_.size()) return 0;
        const auto& modes = displays_[adapter].modes;
        return static_cast<uint32_t>(
            std::count_if(modes.begin(), modes.end(), [&](const D3DDISPLAYMODE& m) { return m.Format == format; }));
    }

    HRESULT EnumAdapterModes(uint32_t adapter, D3DFORMAT format, uint32_t index, D3DDISPLAYMODE& out) override {
        if (adapter >= displays_.size()) return D3DERR_INVALIDCALL;
        for (const D3DDISPLAYMODE& mode : displays_[adapter].modes) {
            if (mode.Format == format && index-- == 0) {
                out = mode;
                return D3D_OK;
            }
        }
        return D3DERR_INVALIDCALL;
    }

    HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE& mode) override {
        if (adapter >= displays_.size()) return D3DERR_INVALIDCALL;
        mode = displays_[adapter].desktop;
        return D3D_OK;
    }

    HRESULT GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS9& caps) override {
        if (adapter >= displays_.size()) return D3DERR_INVALIDCALL;
        if (type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
        caps = gl::DeviceCapsOf(caps_);
        caps.AdapterOrdinal = adapter;
        return D3D_OK;
    }

    HRESULT CheckDeviceType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                            bool windowed) override {
        if (adapter >= displays_.size() || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
        if (windowed && adapterFormat != displays_[adapter].desktop.Format) return D3DERR_NOTAVAILABLE;
        if (GetAdapterModeCount(adapter, adapterFormat) == 0) return D3DERR_NOTAVAILABLE;
        return Presents(adapterFormat, backBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT, uint32_t usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override {
        if (adapter >= displays_.size() || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
        if (usage & D3DUSAGE_DEPTHSTENCIL) return IsDepthFormat(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
        if (resourceType == D3DRTYPE_TEXTURE || resourceType == D3DRTYPE_SURFACE) {
            return gl::TextureFormatSupported(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
        }
        return D3DERR_NOTAVAILABLE;
    }

    HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT,
                                   D3DFORMAT depthStencilFormat) override {
        if (adapter >= displays_.size() || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
        return IsDepthFormat(depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT, bool,
                                       D3DMULTISAMPLE_TYPE multiSample, uint32_t* qualityLevels) override {
        if (adapter >= displays_.size() || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
        const bool supported = multiSample == D3DMULTISAMPLE_NONE ||
                               (multiSample == D3DMULTISAMPLE_NONMASKABLE && caps_.sampleCounts != 0) ||
                               (multiSample >= 2 && multiSample <= 16 && (caps_.sampleCounts >> multiSample & 1u) != 0);
        if (!supported) return D3DERR_NOTAVAILABLE;
        if (qualityLevels) *qualityLevels = 1;
        return D3D_OK;
    }

    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE type, void* focusWindow, uint32_t behaviorFlags,
                         D3DPRESENT_PARAMETERS& parameters, Ref<Device>& out) override {
        out.Reset();
        if (adapter >= displays_.size() || type != D3DDEVTYPE_HAL || focusWindow == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        if (FAILED(CheckDeviceMultiSampleType(adapter, type, parameters.BackBufferFormat, parameters.Windowed,
                                              parameters.MultiSampleType, nullptr))) {
            return D3DERR_NOTAVAILABLE;
        }
        return gl::CreateGlDevice(static_cast<SDL_Window*>(focusWindow), static_cast<int>(adapter), behaviorFlags,
                                  parameters, caps_, out);
    }

private:
    struct Display {
        std::vector<D3DDISPLAYMODE> modes;
        D3DDISPLAYMODE desktop;
    };

    void ReadDisplays() {
        if (g_virtualDisplay.Width != 0) {
            displays_.push_back({{g_virtualDisplay}, g_virtualDisplay});
            return;
        }
        const int count = SDL_GetNumVideoDisplays();
        for (int index = 0; index < count; ++index) {
            Display display;
            SDL_DisplayMode mode;
            if (SDL_GetDesktopDisplayMode(index, &mode) != 0) continue;
            display.desktop = {static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h), RefreshOf(mode.refresh_rate),
                               FormatOfSdl(mode.format)};
            display.modes.push_back(display.desktop);
            for (int i = 0; i < SDL_GetNumDisplayModes(index); ++i) {
                if (SDL_GetDisplayMode(index, i, &mode) != 0) continue;
                const D3DDISPLAYMODE m{static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h),
                                       RefreshOf(mode.refresh_rate), FormatOfSdl(mode.format)};
                if (std::find(display.modes.begin(), display.modes.end(), m) == display.modes.end()) {
                    display.modes.push_back(m);
                }
            }
            displays_.push_back(std::move(display));
        }
    }

    gl::GlCapabilities caps_;
    std::vector<Display> displays_;
};

}  // namespace

void UseVirtualDisplay(uint32_t width, uint32_t height, uint32_t refreshRate) {
    g_virtualDisplay = {width, height, refreshRate, D3DFMT_X8R8G8B8};
}

Ref<Direct3D> PlatformDirect3DCreate9(uint32_t sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    const gl::GlCapabilities caps = gl::ProbeCapabilities();
    if (!caps.usable) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return MakeRef<GlDirect3D>(caps);
}

}  // namespace gfx
