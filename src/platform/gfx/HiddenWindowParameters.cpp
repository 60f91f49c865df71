#include "platform/gfx/HiddenWindow.h"

namespace gfx {

D3DPRESENT_PARAMETERS HiddenWindowParameters(uint32_t width, uint32_t height) {
    D3DPRESENT_PARAMETERS pp;
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.Windowed = true;
    pp.EnableAutoDepthStencil = true;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

}  // namespace gfx
