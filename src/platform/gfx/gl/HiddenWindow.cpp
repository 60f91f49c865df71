#include "platform/gfx/gl/HiddenWindow.h"

#include <SDL.h>

#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {

HiddenWindow::HiddenWindow(int width, int height) {
    videoStarted_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoStarted_) window_ = SDL_CreateWindow("", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

HiddenWindow::~HiddenWindow() {
    if (window_) SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const char* HiddenWindow::Error() const { return SDL_GetError(); }

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

unsigned GlErrorCount() { return ErrorCount(); }

}  // namespace gfx::gl
