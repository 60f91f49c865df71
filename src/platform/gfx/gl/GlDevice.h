#pragma once
// The OpenGL implementation of the Direct3D 9 device.

#include "platform/gfx/Device.h"
#include "platform/gfx/gl/GlContext.h"

struct SDL_Window;

namespace gfx::gl {

// The Direct3D capabilities of a device on this driver.
D3DCAPS9 DeviceCapsOf(const GlCapabilities& caps);

// Makes a context on `window` and a device drawing into it; completes `parameters` as Direct3D
// does (a windowed back buffer of size 0 takes the window's size).
HRESULT CreateGlDevice(SDL_Window* window, int adapter, uint32_t behaviorFlags, D3DPRESENT_PARAMETERS& parameters,
                       const GlCapabilities& caps, Ref<Device>& out);

}  // namespace gfx::gl
