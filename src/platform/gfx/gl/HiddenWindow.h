#pragma once
// A hidden window that OpenGL devices can draw for, for tests and benchmarks that need a device
// without a window system of their own (SDL_VIDEODRIVER=offscreen needs no display).

namespace gfx::gl {

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

// OpenGL errors seen by the device since the process started (checked in debug builds).
unsigned GlErrorCount();

}  // namespace gfx::gl
