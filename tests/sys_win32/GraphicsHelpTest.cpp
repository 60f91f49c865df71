#include "platform/sys/GraphicsHelp.h"

#include <gtest/gtest.h>

// The Windows build names what is really missing there, in the saver's own words.
TEST(WindowsGraphicsHelp, KeepsTheSaversOwnTexts) {
    const sys::GraphicsHelp& help = sys::PlatformGraphicsHelp();
    EXPECT_EQ(help.checkText,
              "DirectX 9 is required for the screensaver to work properly. Click button \"Download DirectX 9\" to "
              "download it from Microsoft's website");
    EXPECT_EQ(help.downloadButton, "Download DirectX 9");
    EXPECT_EQ(help.noDeviceText, "Cannot initialize D3D, please reinstall DX9");
    EXPECT_EQ(help.downloadPage, "https://directx-page.example/");
}
