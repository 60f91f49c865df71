#pragma once
// A hidden window a device can draw for, for tools, tests and benchmarks that show nothing: an SDL
// window for the OpenGL device (SDL_VIDEODRIVER=offscreen needs no display), a Win32 one for
// Direct3D 9.

#include <cstdint>

#include "platform/gfx/Types.h"

namespace gfx {

class HiddenWindow {
public:
    HiddenWindow(int width, int height);
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    // The native window for CreateDevice, or null when none could be made.
    void* NativeHandle() const { return window_; }
    // Why the window could not be made.
    const char* Error() const;

private:
    void* window_ = nullptr;
    bool videoStarted_ = false;
};

// A windowed device of `width` x `height` on a hidden window: X8R8G8B8 with a 24-bit depth and
// stencil buffer, presenting at once.
D3DPRESENT_PARAMETERS HiddenWindowParameters(uint32_t width, uint32_t height);

}  // namespace gfx
