#include "platform/sys/GraphicsHelp.h"

// The page that offers the DirectX runtime: a build constant of the Windows build.
#ifndef QUELMONT_DIRECTX_PAGE
#error "the Windows build defines QUELMONT_DIRECTX_PAGE, the DirectX download page"
#endif

namespace sys {

const GraphicsHelp& PlatformGraphicsHelp() {
    static constexpr GraphicsHelp kHelp{
        "DirectX 9 is required for the screensaver to work properly. Click button \"Download DirectX 9\" to "
        "download it from Microsoft's website",
        "Download DirectX 9",
        QUELMONT_DIRECTX_PAGE,
        "Cannot initialize D3D, please reinstall DX9",
    };
    return kHelp;
}

}  // namespace sys
