#pragma once
// What the program tells a user whose graphics library is missing, in the platform's own terms:
// DirectX 9 on Windows, an OpenGL 3.3 driver on Linux. Each platform layer defines it; the
// trace lines stay the same everywhere.

#include <string_view>

namespace sys {

struct GraphicsHelp {
    std::string_view checkText;       // the failed graphics check's dialog
    std::string_view downloadButton;  // that dialog's first button
    std::string_view downloadPage;    // what that button opens
    std::string_view noDeviceText;    // the configuration dialog's box when no device can be made
};

const GraphicsHelp& PlatformGraphicsHelp();

}  // namespace sys
