#pragma once
// The Direct3D 9 object: adapters, their display modes, what their devices can do, and device
// creation. The Linux implementation reports SDL's displays and the OpenGL capabilities in these
// terms (platform/gfx/gl).

#include <cstdint>

#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"
#include "platform/gfx/Types.h"

namespace gfx {

class Direct3D : public Object {
public:
    virtual uint32_t GetAdapterCount() = 0;
    virtual HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags, D3DADAPTER_IDENTIFIER9& identifier) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter, D3DFORMAT format) = 0;
    virtual HRESULT EnumAdapterModes(uint32_t adapter, D3DFORMAT format, uint32_t mode, D3DDISPLAYMODE& out) = 0;
    virtual HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE& mode) = 0;
    virtual HRESULT GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS9& caps) = 0;
    virtual HRESULT CheckDeviceType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                    D3DFORMAT backBufferFormat, bool windowed) = 0;
    virtual HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, uint32_t usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) = 0;
    virtual HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                           D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) = 0;
    // `qualityLevels` may be null.
    virtual HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat,
                                               bool windowed, D3DMULTISAMPLE_TYPE multiSample,
                                               uint32_t* qualityLevels) = 0;
    // `focusWindow` is the platform's native window (an SDL_Window on Linux).
    virtual HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE type, void* focusWindow, uint32_t behaviorFlags,
                                 D3DPRESENT_PARAMETERS& parameters, Ref<Device>& out) = 0;
};

// The Direct3D object of the installed factory, or null when it has no usable 3D support or no
// factory is installed. The program installs PlatformDirect3DCreate9; tests install a fake
// machine. Keeping the choice here lets the shell build without any backend.
Ref<Direct3D> Direct3DCreate9(uint32_t sdkVersion);
using Direct3DFactory = Ref<Direct3D> (*)(uint32_t sdkVersion);
void SetDirect3DFactory(Direct3DFactory factory);
// The platform's own object, defined by the backend (platform/gfx/gl).
Ref<Direct3D> PlatformDirect3DCreate9(uint32_t sdkVersion);

// Makes later Direct3D objects report one adapter with this single display mode (X8R8G8B8) as
// its modes and desktop, whatever the machine has: offscreen recording at a chosen size.
// A width of 0 returns to the real displays.
void UseVirtualDisplay(uint32_t width, uint32_t height, uint32_t refreshRate);

}  // namespace gfx
