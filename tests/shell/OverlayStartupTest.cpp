// Start-up's overlay steps: the two fonts, the labels the settings ask for, the input listeners.

#include <gtest/gtest.h>

#include <filesystem>

#include "FakeDirect3D.h"
#include "shell/Application.h"
#include "support/MediaResources.h"
#include "support/SaverSandbox.h"

using namespace gfx;
namespace fs = std::filesystem;

namespace {

// Runs in a folder whose "Media" holds the generated fonts, less the files a test removes.
class OverlayStartupTest : public testing::Test, protected SaverSandbox {
protected:
    OverlayStartupTest() {
        fs::copy(fs::path(QUELMONT_BINARY_DIR) / "media/tree/Media", fs::path(temp.path()) / "Media");
        fs::current_path(temp.path());
    }
    ~OverlayStartupTest() override { fs::current_path(previous); }
    void RemoveMedia(const char* name) { fs::remove(fs::path(temp.path()) / "Media" / name); }

    fs::path previous = fs::current_path();
    ScopedFakeDirect3D direct3d;
    MediaResources media;
};

TEST_F(OverlayStartupTest, BothLabelsAreMadeForTheSettingsAndTheOverlayHearsInputFirst) {
    Application app;
    app.settings.UseDesktop = false;
    app.settings.Width = 800;
    app.settings.Height = 600;
    app.settings.ShowFps = true;
    app.settings.ShowTime = true;
    app.settings.TimeStyle = false;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0)) << Trace();
    ASSERT_NE(app.Labels().FrameRateLabel(), nullptr);
    ASSERT_NE(app.Labels().ClockLabel(), nullptr);
    EXPECT_EQ(app.Labels().FrameRateLabel()->GetBox(), (OverlayWindow::Box{10, 10, 256, 128}));
    EXPECT_EQ(std::u16string(app.Labels().FrameRateLabel()->Text().Text()), u"100");
    // 12-hour style at 800 / 1024: trunc(350 s) by trunc(74 s), the text "11" inside it.
    EXPECT_EQ(app.Labels().ClockLabel()->GetBox(), (OverlayWindow::Box{200, 300, 273, 57}));
    EXPECT_EQ(app.Labels().ClockLabel()->Text().Vertices().size(), 12u);
    const auto& listeners = app.Input().Listeners();
    ASSERT_GE(listeners.size(), 2u);
    EXPECT_EQ(listeners[listeners.size() - 2], &app.Labels().Listener());
    EXPECT_EQ(listeners.back(), &app);
    EXPECT_EQ(Trace().find("font loading failed"), std::string::npos) << Trace();
}

TEST_F(OverlayStartupTest, LabelsAreMadeOnlyWhenAskedFor) {
    Application app;
    app.settings.ShowFps = false;
    app.settings.ShowTime = true;
    app.settings.TimeStyle = true;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0)) << Trace();
    EXPECT_EQ(app.Labels().FrameRateLabel(), nullptr);
    ASSERT_NE(app.Labels().ClockLabel(), nullptr);
    EXPECT_EQ(app.Labels().ClockLabel()->GetBox().width, 290);  // 24-hour style on a 1024-pixel screen
    EXPECT_EQ(app.Labels().Windows().Windows().size(), 1u);
}

TEST_F(OverlayStartupTest, WithoutTheInterfaceFontCreateFails) {
    RemoveMedia("sylfaen.fs");
    Application app;
    EXPECT_FALSE(app.Create(nullptr, RunMode::Saver, 0));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Sylfaen font loading failed\nError: Sylfaen font loading failed\n"), std::string::npos)
        << trace;
    EXPECT_EQ(trace.find("Creating successfull"), std::string::npos);
}

TEST_F(OverlayStartupTest, WithoutTheClockFontTheSaverGoesOnAndTheTimeHasNoGlyphs) {
    RemoveMedia("64font.fs");
    RemoveMedia("sylfaen_eng_14.png");  // a charset that fails does not fail its font
    Application app;
    app.settings.ShowTime = true;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Saver, 0));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Error: font texture loading failed\nError: Charset 'sylfaen_eng_14.css' loading failed\n"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("64th font loading failed\nError:  font loading failed\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Creating successfull\n"), std::string::npos) << trace;
    ASSERT_NE(app.Labels().ClockLabel(), nullptr);
    EXPECT_TRUE(app.Labels().ClockLabel()->Text().Vertices().empty());
}

}  // namespace
