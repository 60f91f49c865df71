#pragma once
// The Direct3D 9 device on Windows: the engine's calls passed to d3d9.dll's device. The state
// tables are kept here too, so reads, simulated loss and the tests see what was set.

#include "platform/gfx/Device.h"
#include "platform/gfx/Direct3D.h"

struct IDirect3D9;
struct _D3DCAPS9;

namespace gfx::d3d9 {

// Our record of Direct3D's capabilities.
// True while a virtual display stands in for the screen (UseVirtualDisplay): a full-screen device
// is then made windowed on its (hidden) window at the virtual display's size.
bool OnVirtualDisplay();

D3DCAPS9 CapsOf(const _D3DCAPS9& native);

// Creates the native device and ours around it; `owner` (which holds the loaded library) lives
// as long as the device. Completes `parameters` as Direct3D does.
HRESULT CreateD3d9Device(Ref<Direct3D> owner, IDirect3D9* direct3d, uint32_t adapter, D3DDEVTYPE type,
                         void* focusWindow, uint32_t behaviorFlags, D3DPRESENT_PARAMETERS& parameters,
                         Ref<Device>& out);

}  // namespace gfx::d3d9
