// The labels over the scene: which are made, how often the frame rate changes, and the time held
// in the lower-right corner of whatever size the client area has.

#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/RecordingDevice.h"
#include "shell/LabelOverlay.h"
#include "support/SaverSandbox.h"
#include "textures/TextureManager.h"

namespace {

class LabelOverlayTest : public testing::Test, protected SaverSandbox {
protected:
    LabelOverlayTest() {
        settings.ShowFps = true;
        settings.ShowTime = true;
        settings.TimeStyle = true;
        system.localTime.hour = 13;
        system.localTime.minute = 5;
        system.localTime.second = 7;
    }

    static std::u16string TextOf(const TextLabel* label) { return std::u16string(label->Text().Text()); }
    // True when the label's box ends exactly at the lower-right corner of the screen.
    static bool InCorner(const TextLabel* label, int width, int height) {
        const OverlayWindow::Box box = label->ScreenBox(width, height);
        return box.left + box.width == width && box.top + box.height == height;
    }

    SettingsRecord settings;
    MediaFiles media = [](const EngineString& name) {
        return FileSource(EngineString(QUELMONT_BINARY_DIR "/media/tree/Media/") + name);
    };
    gfx::RecordingDevice device;
    TextureManager textures{&device};
    LabelOverlay labels;
};

}  // namespace

TEST_F(LabelOverlayTest, TheFrameRateChangesOnceASecondAndTheTimeFollowsTheCorner) {
    ASSERT_TRUE(labels.SetUp(1.0f, settings, media, textures)) << Trace();
    const TextLabel* frameRate = labels.FrameRateLabel();
    const TextLabel* time = labels.ClockLabel();
    ASSERT_NE(frameRate, nullptr);
    ASSERT_NE(time, nullptr);
    labels.ResetTimer();

    labels.Refresh(settings, 42, 1024, 768);
    EXPECT_EQ(TextOf(frameRate), u"100");  // not yet a second
    EXPECT_EQ(TextOf(time), u"13:05:07 ");
    EXPECT_TRUE(InCorner(time, 1024, 768));

    clock.AdvanceMs(1000);
    system.localTime.second = 8;
    labels.Refresh(settings, 42, 800, 600);
    EXPECT_EQ(TextOf(frameRate), u"42");
    EXPECT_EQ(TextOf(time), u"13:05:08 ");
    EXPECT_TRUE(InCorner(time, 800, 600));

    clock.AdvanceMs(999);
    labels.Refresh(settings, 7, 800, 600);
    EXPECT_EQ(TextOf(frameRate), u"42");
    clock.AdvanceMs(1);
    labels.Refresh(settings, -7, 800, 600);
    EXPECT_EQ(TextOf(frameRate), u"-7");
}

TEST_F(LabelOverlayTest, OnlyTheLabelsAskedForAreMadeAndRefreshLeavesTheOthersAlone) {
    settings.ShowFps = false;
    settings.TimeStyle = false;
    ASSERT_TRUE(labels.SetUp(1.0f, settings, media, textures)) << Trace();
    EXPECT_EQ(labels.FrameRateLabel(), nullptr);
    ASSERT_NE(labels.ClockLabel(), nullptr);
    EXPECT_EQ(labels.Windows().Windows().size(), 1u);
    system.localTime.hour = 0;
    system.localTime.minute = 30;
    system.localTime.second = 5;
    clock.AdvanceMs(5000);
    labels.Refresh(settings, 60, 640, 480);
    EXPECT_EQ(TextOf(labels.ClockLabel()), u"0:30:05 am");
    EXPECT_TRUE(InCorner(labels.ClockLabel(), 640, 480));
}
