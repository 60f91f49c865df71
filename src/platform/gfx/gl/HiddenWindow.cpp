#include "platform/gfx/HiddenWindow.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/gfx/gl/Gl.h"
#include "platform/gfx/gl/GlContext.h"

namespace gfx {

HiddenWindow::HiddenWindow(int width, int height) {
    // Without a display the window is SDL's offscreen one.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    videoStarted_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoStarted_) window_ = SDL_CreateWindow("", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

HiddenWindow::~HiddenWindow() {
    if (window_) SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const char* HiddenWindow::Error() const { return SDL_GetError(); }

namespace gl {

unsigned GlErrorCount() { return ErrorCount(); }

}  // namespace gl

}  // namespace gfx
