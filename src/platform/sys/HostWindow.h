#pragma once
// A window that a desktop screensaver host (XScreenSaver) gives the saver to draw in. While one
// is set the saver runs inside it instead of in a window of its own, and the host owns the
// user's input and the screen's idle state.

#include <cstdint>

namespace sys {

// The host's native window id, 0 when the saver runs in its own window.
uint64_t HostWindow();
void SetHostWindow(uint64_t nativeId);
// The root window of the default screen, 0 when there is no display.
uint64_t DefaultRootWindowId();

}  // namespace sys
