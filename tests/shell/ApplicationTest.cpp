#include "shell/Application.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/FakeDialog.h"
#include "support/MediaResources.h"
#include "support/NoGraphics.h"
#include "support/SaverSandbox.h"

namespace {

// Counts the virtual calls the loop makes.
class CountingApplication final : public Application {
public:
    void Update() override { ++updates; }
    void Tick() override {
        ++ticks;
        if (onTick) onTick();
    }
    void Shutdown() override { calls += "Shutdown,"; }
    void OnExitFinal() override { calls += "OnExitFinal,"; }
    void Activate() { active_ = true; }

    int updates = 0;
    int ticks = 0;
    std::string calls;
    std::function<void()> onTick;
};

class ApplicationTest : public testing::Test, protected SaverSandbox {
protected:
    sys::LResult Send(Application& app, uint32_t message, sys::WParam w = 0) {
        return app.MsgProc(app.SaverWindow(), message, w, 0);
    }

    FakeDialogSystem dialogs;
    MediaResources media;
    NoGraphics noGraphics;
};

}  // namespace

TEST_F(ApplicationTest, KeysEndTheSaverExceptF2F3AndF6) {
    CountingApplication app;
    for (uint32_t key : {sys::VK_F2, sys::VK_F3, sys::VK_F6}) {
        Send(app, sys::WM_KEYDOWN, key);
        EXPECT_FALSE(app.ExitRequested()) << key;
    }
    for (uint32_t key : {sys::VK_ESCAPE, sys::VK_SPACE, uint32_t{'Q'}, sys::VK_F1}) {
        CountingApplication other;
        Send(other, sys::WM_KEYDOWN, key);
        EXPECT_TRUE(other.ExitRequested()) << key;
    }
}

TEST_F(ApplicationTest, CloseMessagesAndSystemCommands) {
    for (uint32_t message : {sys::WM_CLOSE, sys::WM_DESTROY, sys::WM_QUIT}) {
        CountingApplication app;
        EXPECT_EQ(Send(app, message), 1);
        EXPECT_TRUE(app.ExitRequested());
    }
    for (sys::WParam command : {sys::SC_NEXTWINDOW, sys::SC_PREVWINDOW, sys::SC_CLOSE}) {
        CountingApplication app;
        EXPECT_EQ(Send(app, sys::WM_SYSCOMMAND, command), 1);
        EXPECT_TRUE(app.ExitRequested());
    }
    CountingApplication app;
    EXPECT_EQ(Send(app, sys::WM_SYSCOMMAND, sys::SC_SCREENSAVE), 0);
    EXPECT_FALSE(app.ExitRequested());
}

TEST_F(ApplicationTest, SaverWindowFollowsTheDesktopSetting) {
    CountingApplication app;
    app.settings.UseDesktop = true;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Configure, 0));  // configure makes no window
    EXPECT_TRUE(windows.created.empty());

    CountingApplication saver;
    saver.settings.UseDesktop = true;
    EXPECT_FALSE(saver.Create(nullptr, RunMode::Saver, 0));  // no graphics device in this build
    ASSERT_EQ(windows.created.size(), 1u);
    EXPECT_EQ(windows.created[0]->params.box, (sys::Rect{0, 0, 10, 10}));
    EXPECT_EQ(windows.created[0]->params.style, sys::WS_POPUP | sys::WS_VISIBLE);
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Log started \nCreate function entered\nRegister class return: 49152\n"
                         "Error: Application::Create(hInstance) failed\n"),
              std::string::npos)
        << trace;
}

TEST_F(ApplicationTest, ChangePasswordMakesNoWindow) {
    CountingApplication app;
    EXPECT_FALSE(app.Create(nullptr, RunMode::ChangePassword, 5));
    EXPECT_TRUE(windows.created.empty());
    EXPECT_NE(Trace().find("Failed creating Saver Windows\n"), std::string::npos);
}

TEST_F(ApplicationTest, PreviewWaitsForItsTimerAtIdlePriority) {
    CountingApplication app;
    int reads = 0;
    windows.beforeRead = [&] {
        if (++reads == 3) clock.AdvanceMs(500);  // time passes while the queue is read
    };
    ASSERT_TRUE(app.Create(nullptr, RunMode::Preview, 0));
    EXPECT_EQ(system.priority, sys::THREAD_PRIORITY_IDLE);
    ASSERT_EQ(windows.created.size(), 1u);
    EXPECT_EQ(windows.created[0]->params.box, (sys::Rect{100, 100, 150, 150}));
    EXPECT_EQ(windows.created[0]->params.style, sys::WS_CHILD | sys::WS_VISIBLE);
    EXPECT_TRUE(windows.timers.empty());  // the timer fired and was killed
    EXPECT_GE(clock.Ms(), 100500);
}

TEST_F(ApplicationTest, PreviewInsideAParentTakesItsClientAreaAndPaintsTheBitmap) {
    std::vector<uint8_t> bitmap(600, 0x42);
    media.Add(manifest::kPreviewBitmap, bitmap);
    CountingApplication app;
    windows.beforeRead = [&] { clock.AdvanceMs(600); };
    ASSERT_TRUE(app.Create(nullptr, RunMode::Preview, 0x1234));
    FakeWindow* window = windows.created.at(0);
    EXPECT_EQ(window->params.parent, 0x1234u);
    EXPECT_EQ(window->params.box, windows.foreignClient);
    windows.PostMessage(window, sys::WM_PAINT, 0, 0);
    windows.PostMessage(window, sys::WM_CLOSE, 0, 0);
    EXPECT_EQ(app.RunMainLoop(), 1);
    ASSERT_EQ(windows.paints.size(), 1u);
    EXPECT_EQ(windows.paints[0].bytes, 600u);
    EXPECT_EQ(Trace().find("2.exit"), std::string::npos);  // the preview logs no exit line
}

TEST_F(ApplicationTest, MainLoopStopsAtOnceOnAnExitMessageAndTearsDown) {
    CountingApplication app;
    EXPECT_FALSE(app.Create(nullptr, RunMode::Saver, 0));
    // Three passes, then a key arrives; a message queued behind it is never dispatched.
    int passes = 0;
    app.onTick = [&] {
        clock.AdvanceMs(10);
        if (++passes == 3) {
            windows.PostMessage(app.SaverWindow(), sys::WM_KEYDOWN, sys::VK_ESCAPE, 0);
            windows.PostMessage(app.SaverWindow(), sys::WM_USER, 0, 0);
        }
    };
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_EQ(app.ticks, 3);
    EXPECT_EQ(app.updates, 0);  // never active without a device
    EXPECT_EQ(windows.queue.size(), 1u);
    EXPECT_EQ(app.calls, "Shutdown,OnExitFinal,");
    EXPECT_EQ(windows.destroyed, 1);
    EXPECT_EQ(windows.cursor, 1);
    const std::string trace = Trace();
    EXPECT_NE(trace.find("2.exit\nLog closed\n"), std::string::npos) << trace;
}

TEST_F(ApplicationTest, ActiveLoopWritesTheFirstFrameLinesOnceAndSendsTheKeepAlive) {
    CountingApplication app;
    app.Create(nullptr, RunMode::Saver, 0);
    app.Activate();
    int passes = 0;
    app.onTick = [&] {
        clock.AdvanceMs(10000);
        if (++passes == 4) app.RequestExit();
    };
    app.RunMainLoop();
    EXPECT_EQ(app.updates, 4);  // a request made in Tick is seen by the next pass
    const std::string trace = Trace();
    EXPECT_NE(trace.find("Active Frame1 start\nDo Render started\ndevice lost\nActive Frame1 end\ndevice lost\n"),
              std::string::npos)
        << trace;
    // 30 s had passed by the fourth pass; the keep-alive is F3.
    ASSERT_EQ(system.keepAliveKeys.size(), 1u);
    EXPECT_EQ(system.keepAliveKeys[0], sys::VK_F3);
}
