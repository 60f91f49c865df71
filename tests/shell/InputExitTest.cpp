// Which input ends the saver, through the application's window procedure and input callback.

#include <gtest/gtest.h>

#include "platform/sys/DirectInputKeys.h"
#include "platform/sys/HostWindow.h"
#include "shell/Application.h"
#include "support/FakeInputDevices.h"
#include "support/MediaResources.h"
#include "support/NoGraphics.h"
#include "support/SaverSandbox.h"

namespace {

// An application whose device the test provides, with input started as Create starts it.
class InputApplication final : public Application {
public:
    bool Start(RunMode mode) {
        Create(nullptr, mode, 0);  // stops where the graphics device would be made
        renderWindow_ = SaverWindow();
        hasDevice_ = true;
        StartInput();
        Input().AddListener(this);
        return SaverWindow() != nullptr;
    }
    void Tick() override {
        Application::Tick();
        if (onTick) onTick();
    }
    void OnExitFinal() override { exitedFinally = true; }
    std::function<void()> onTick;
    bool exitedFinally = false;
};

class InputExitTest : public testing::Test, protected SaverSandbox {
protected:
    sys::LResult Send(Application& app, uint32_t message, sys::WParam w = 0, sys::LParam l = 0) {
        return app.MsgProc(app.SaverWindow(), message, w, l);
    }

    FakeInputDevices devices;
    MediaResources media;
    NoGraphics noGraphics;
};

}  // namespace

TEST_F(InputExitTest, ButtonPressesEndTheSaverAtOnceReleasesAndKeysDoNot) {
    for (uint32_t button : {sys::DIMOFS_BUTTON0, sys::DIMOFS_BUTTON1}) {
        InputApplication app;
        ASSERT_TRUE(app.Start(RunMode::Saver));
        devices.mouse->Push(sys::DIMOFS_BUTTON2, 0x80);  // middle button
        devices.mouse->Push(sys::DIMOFS_Z, 120);         // wheel
        devices.mouse->Push(button, 0x00);               // a release alone
        app.Input().Dispatch();
        devices.keyboard->Push(sys::DIK_A, 0x80);  // keys end the saver through WM_KEYDOWN only
        app.Input().Dispatch();
        EXPECT_FALSE(app.ExitRequested());
        devices.mouse->Push(button, 0x80);
        app.Input().Dispatch();  // within the grace period: a press still ends it
        EXPECT_TRUE(app.ExitRequested()) << button;
    }
}

TEST_F(InputExitTest, MouseMovesEndTheSaverOnlyWithExitOnMMAfterOneSecond) {
    InputApplication app;
    app.settings.ExitOnMM = true;
    ASSERT_TRUE(app.Start(RunMode::Saver));
    clock.AdvanceMs(900);
    Send(app, sys::WM_MOUSEMOVE, 0, sys::MakeLParam(10, 10));
    EXPECT_FALSE(app.ExitRequested());
    clock.AdvanceMs(200);
    Send(app, sys::WM_MOUSEMOVE, 0, sys::MakeLParam(10, 10));  // the stored position again
    EXPECT_FALSE(app.ExitRequested());
    Send(app, sys::WM_MOUSEMOVE, 0, sys::MakeLParam(11, 10));
    EXPECT_TRUE(app.ExitRequested());

    InputApplication still;
    still.settings.ExitOnMM = false;
    ASSERT_TRUE(still.Start(RunMode::Saver));
    clock.AdvanceMs(5000);
    for (int x = 0; x < 50; x += 7) Send(still, sys::WM_MOUSEMOVE, 0, sys::MakeLParam(x, x));
    EXPECT_FALSE(still.ExitRequested());
    devices.mouse->Push(sys::DIMOFS_BUTTON0, 0x80);
    still.Input().Dispatch();
    EXPECT_TRUE(still.ExitRequested());
}

TEST_F(InputExitTest, TheMainLoopPollsAndDispatchesInputEveryPass) {
    InputApplication app;
    ASSERT_TRUE(app.Start(RunMode::Saver));
    int passes = 0;
    app.onTick = [&] {
        if (++passes == 3) devices.mouse->Push(sys::DIMOFS_BUTTON1, 0x80);
    };
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_EQ(passes, 4);  // the click is dispatched on the pass after it arrived
    EXPECT_TRUE(app.exitedFinally);
}

TEST_F(InputExitTest, InsideAHostWindowOnlyTheHostEndsTheSaver) {
    sys::SetHostWindow(0x5a0001);
    InputApplication app;
    app.settings.ExitOnMM = true;
    const bool started = app.Start(RunMode::Saver);
    sys::SetHostWindow(0);
    ASSERT_TRUE(started);
    EXPECT_TRUE(app.Hosted());
    const FakeWindow& window = *windows.created.at(0);
    EXPECT_EQ(window.params.parent, 0x5a0001u);
    EXPECT_EQ(window.params.style, sys::WS_CHILD | sys::WS_VISIBLE);
    EXPECT_EQ(window.params.box, windows.foreignClient);

    clock.AdvanceMs(2000);
    Send(app, sys::WM_KEYDOWN, sys::VK_ESCAPE);
    Send(app, sys::WM_MOUSEMOVE, 0, sys::MakeLParam(40, 40));
    devices.mouse->Push(sys::DIMOFS_BUTTON0, 0x80);
    app.Input().Dispatch();
    EXPECT_FALSE(app.ExitRequested());
    EXPECT_EQ(Send(app, sys::WM_CLOSE), 1);  // what SIGTERM turns into
    EXPECT_TRUE(app.ExitRequested());
}

TEST_F(InputExitTest, PreviewsAndConfigurationHaveNoHostWindow) {
    sys::SetHostWindow(0x5a0001);
    InputApplication preview;
    windows.beforeRead = [&] { clock.AdvanceMs(600); };
    preview.Create(nullptr, RunMode::Preview, 77);
    sys::SetHostWindow(0);
    EXPECT_FALSE(preview.Hosted());
    EXPECT_EQ(windows.created.at(0)->params.parent, 77u);
}

TEST_F(InputExitTest, TheFallbackCameraIsAttachedWithItsDefaultSpeed) {
    InputApplication app;
    ASSERT_TRUE(app.Start(RunMode::Test));
    const math::Vec3 start = app.FallbackCamera().position;
    devices.keyboard->keys[sys::DIK_W] = 0x80;
    app.onTick = [&] { app.RequestExit(); };
    app.RunMainLoop();  // one pass: poll, dispatch, tick, camera
    EXPECT_EQ(app.FallbackCameraControl().Speed(), CameraControl::kDefaultSpeed);
    EXPECT_FLOAT_EQ(app.FallbackCamera().position.y - start.y, CameraControl::kDefaultSpeed);
}
