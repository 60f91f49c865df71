// Application::Create choosing the saver's full-screen mode on made-up machines.

#include <gtest/gtest.h>

#include "FakeDirect3D.h"
#include "shell/Application.h"
#include "shell/DesktopMode.h"
#include "support/MediaResources.h"
#include "support/SaverSandbox.h"

using namespace gfx;

namespace {

class FullScreenModeTest : public testing::Test, protected SaverSandbox {
protected:
    ScopedFakeDirect3D direct3d;
    MediaResources media{true};  // start-up needs the fonts
};

TEST_F(FullScreenModeTest, DesktopModeAsksForTwoSamplesAtTheDesktopSize) {
    Application app;
    app.settings.UseDesktop = true;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0));
    EXPECT_EQ(direct3d.machine->lastParameters.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(direct3d.machine->lastParameters.BackBufferWidth, 1024u);
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Full Mode:\nUsing desktop mode\nMODEDESC:\n2Samples, quality: 0\n"
                         "----------------------\nFullscreen 1024x768, X8R8G8B8, D24X8\n"),
              std::string::npos)
        << trace;
    EXPECT_EQ(RecordedDesktopMode().width, 1024u);
    EXPECT_FLOAT_EQ(app.UiScale(), 1.0f);
    EXPECT_EQ(windows.cursor, -1);  // hidden
}

TEST_F(FullScreenModeTest, WithoutMultisamplingTheFallbackRequestIsUsed) {
    direct3d.machine->multiSampleLevels = {{0, 1}};
    Application app;
    app.settings.UseDesktop = true;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0));
    EXPECT_EQ(direct3d.machine->devicesCreated, 1);
    EXPECT_EQ(direct3d.machine->lastParameters.MultiSampleType, D3DMULTISAMPLE_NONE);
    const std::string trace = Trace();
    EXPECT_NE(trace.find("MODEDESC:\n2Samples, quality: 0\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Setting Mode failed\nMODEDESC:\nNoSampling\n"), std::string::npos) << trace;
}

TEST_F(FullScreenModeTest, FixedModeAsksForTheSettingsSizeAndDepth) {
    Application app;
    app.settings.UseDesktop = false;
    app.settings.Width = 800;
    app.settings.Height = 600;
    app.settings.Depth = 16;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0));
    EXPECT_EQ(direct3d.machine->lastParameters.BackBufferWidth, 800u);
    EXPECT_EQ(direct3d.machine->lastParameters.BackBufferFormat, D3DFMT_R5G6B5);  // 16 bits like X1R5G5B5
    EXPECT_EQ(direct3d.machine->lastParameters.FullScreen_RefreshRateInHz, 75u);
    EXPECT_NE(Trace().find("Using fixed mode\nMODEDESC:\n2Samples, quality: 0\n"), std::string::npos);
    int x, y, width, height;
    app.GetClientArea(x, y, width, height);
    EXPECT_EQ(width, 800);
    EXPECT_FLOAT_EQ(app.UiScale(), 800.0f / 1024.0f);
}

TEST_F(FullScreenModeTest, NoModeThatCanBeSetFailsCreate) {
    direct3d.machine->createFails = true;
    Application app;
    app.settings.UseDesktop = false;
    app.settings.Width = 640;
    app.settings.Height = 480;
    app.settings.Depth = 32;
    EXPECT_FALSE(app.Create(nullptr, RunMode::Saver, 0));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Failed setting mode\nMODEDESC:\nNoSampling\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Setting Mode failed...exiting\n"), std::string::npos) << trace;
}

}  // namespace
