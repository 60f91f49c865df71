#include <X11/Xlib.h>

#include "platform/sys/HostWindow.h"

namespace sys {

uint64_t DefaultRootWindowId() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    const uint64_t root = DefaultRootWindow(display);
    XCloseDisplay(display);
    return root;
}

}  // namespace sys
