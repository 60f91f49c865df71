#include "platform/sys/GraphicsHelp.h"

namespace sys {

// On Linux the device is OpenGL 3.3, which the graphics card's driver provides (Mesa, or the card
// maker's own); the distribution's page on graphics drivers says which one a card needs.
const GraphicsHelp& PlatformGraphicsHelp() {
    static constexpr GraphicsHelp kHelp{
        "The screensaver needs an OpenGL 3.3 graphics driver, and none could be started. Install or "
        "update the driver of your graphics card (Mesa, or the card maker's own driver). Click "
        "\"Graphics drivers\" to read which driver your card needs.",
        "Graphics drivers",
        "https://wiki.debian.org/GraphicsCard",
        "Cannot start OpenGL 3.3, so the display modes cannot be listed. Install or update the "
        "driver of your graphics card (Mesa, or the card maker's own driver).",
    };
    return kHelp;
}

}  // namespace sys
