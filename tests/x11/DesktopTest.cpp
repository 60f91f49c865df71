// The saver's window, input, preview and host window on a real X server.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "common/Log.h"
#include "platform/sys/DirectInputKeys.h"
#include "platform/sys/ExitSignals.h"
#include "platform/sys/HostWindow.h"
#include "support/x11/VirtualDisplay.h"
#include "shell/Application.h"
#include "support/Files.h"
#include "support/PreviewBitmap.h"
#include "support/MediaResources.h"
#include "support/NoGraphics.h"
#include "support/ScopedEnv.h"
#include "support/SkipOrFail.h"
#include "support/TempDir.h"

namespace {

constexpr int64_t kPatienceMs = 5000;

// The application with a device the test provides (no graphics device in these tests), as far
// as input, windows and messages go.
class DesktopApplication final : public Application {
public:
    bool Start(RunMode mode, uint32_t parent = 0) {
        Create(nullptr, mode, parent);
        if (mode == RunMode::Preview) return SaverWindow() != nullptr;
        renderWindow_ = SaverWindow();
        hasDevice_ = true;
        StartInput();
        Input().AddListener(this);
        return SaverWindow() != nullptr;
    }
    sys::LResult MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam w, sys::LParam l) override {
        // A window kept behind another program's never hears that it became active.
        if (stayInactive && message == sys::WM_ACTIVATE) return 0;
        const sys::LResult result = Application::MsgProc(window, message, w, l);
        exposed |= message == sys::WM_PAINT;
        if (onMessage) onMessage(message, w, l);
        return result;
    }
    void OnInputEvent(const InputEvent& event) override {
        events.push_back(event);
        Application::OnInputEvent(event);
    }
    // Each pass once the window is on the screen runs `step` with the pass number; a run that
    // takes too long ends as failed.
    void Tick() override {
        Application::Tick();
        ++ticks;
        if (runForMs > 0 && watch.Elapsed() > runForMs) RequestExit();
        if (watch.Elapsed() > kPatienceMs) {
            timedOut = true;
            RequestExit();
        }
        if (exposed && step) step(++passes);
    }
    void OnExitFinal() override { exitedFinally = true; }

    std::function<void(uint32_t, sys::WParam, sys::LParam)> onMessage;
    std::function<void(int)> step;
    std::vector<InputEvent> events;
    Stopwatch watch;
    int passes = 0;
    int ticks = 0;
    int64_t runForMs = 0;
    bool stayInactive = false;
    bool exposed = false;
    bool timedOut = false;
    bool exitedFinally = false;
};

class DesktopTest : public testing::Test {
protected:
    void SetUp() override {
        if (!display.Started()) QUELMONT_SKIP_OR_FAIL("no Xvfb on this machine");
        sys::CatchExitSignals();
        SetTracePath(trace.c_str());
    }
    void TearDown() override { SetTracePath(nullptr); }

    std::string Trace() const { return ReadFile(trace); }

    x11test::VirtualDisplay& display = x11test::SharedDisplay();
    TempDir temp;
    ScopedEnv xdg{"XDG_CONFIG_HOME", temp.path()};
    std::string trace = temp.path() + "/trace.log";
    MediaResources media;
    NoGraphics noGraphics;
};

}  // namespace

TEST_F(DesktopTest, AKeyPressEndsTheSaverExceptTheKeysThatMustNot) {
    DesktopApplication app;
    ASSERT_TRUE(app.Start(RunMode::Saver));
    const sys::Rect box = app.SaverWindow()->GetWindowRect();
    bool sawF2 = false;
    app.step = [&](int pass) {
        if (pass == 2) {
            display.MovePointer(box.left + 2, box.top + 2);  // without a window manager keys follow the pointer
            display.PressKey("F2");
        }
        for (const InputEvent& e : app.events) sawF2 |= e.type == kKeyPressed && e.parameter == sys::DIK_F2;
        if (sawF2 && !app.ExitRequested()) display.PressKey("a");
    };
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_FALSE(app.timedOut);
    EXPECT_TRUE(sawF2);  // seen by the input system, yet the saver went on until the letter
    EXPECT_TRUE(app.exitedFinally);
}

// Inactive, the saver draws nothing, and its loop must sleep between messages instead of
// taking a whole core until focus comes back.
TEST_F(DesktopTest, AnInactiveSaverSleepsBetweenPasses) {
    DesktopApplication app;
    app.stayInactive = true;
    ASSERT_TRUE(app.Start(RunMode::Saver));
    const auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
    };
    app.runForMs = app.watch.Elapsed() + 1500;
    const double cpuBefore = cpuMs();
    Stopwatch wall;
    EXPECT_EQ(app.RunMainLoop(), 1);
    const double share = (cpuMs() - cpuBefore) / static_cast<double>(wall.Elapsed());
    std::printf("inactive loop: %.2f %% of a core over %lld ms\n", 100 * share, static_cast<long long>(wall.Elapsed()));
    EXPECT_FALSE(app.timedOut);
    EXPECT_LT(share, 0.02);
    EXPECT_GE(app.ticks, 5);  // it still ran its passes: labels, input, keep-alive
}

TEST_F(DesktopTest, AClickEndsTheSaver) {
    DesktopApplication app;
    ASSERT_TRUE(app.Start(RunMode::Saver));
    const sys::Rect box = app.SaverWindow()->GetWindowRect();
    app.step = [&](int pass) {
        if (pass == 2) {
            display.MovePointer(box.left + 2, box.top + 2);
            display.Click(1);
        }
    };
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_FALSE(app.timedOut);
    bool pressed = false;
    for (const InputEvent& e : app.events) pressed |= e.type == kLeftButtonPressed;
    EXPECT_TRUE(pressed);
}

TEST_F(DesktopTest, SigtermEndsTheSaverCleanlyAlsoBeforeItsWindowExists) {
    std::raise(SIGTERM);  // before SDL's video part has started in this process
    DesktopApplication early;
    ASSERT_TRUE(early.Start(RunMode::Saver));
    EXPECT_EQ(early.RunMainLoop(), 1);
    EXPECT_FALSE(early.timedOut);
    EXPECT_TRUE(early.exitedFinally);

    DesktopApplication running;
    ASSERT_TRUE(running.Start(RunMode::Saver));
    running.step = [&](int pass) {
        if (pass == 3) std::raise(SIGTERM);
    };
    EXPECT_EQ(running.RunMainLoop(), 1);
    EXPECT_FALSE(running.timedOut);
    EXPECT_EQ(running.passes, 3);  // ended at the next message read
    EXPECT_TRUE(running.exitedFinally);
    EXPECT_NE(Trace().find("2.exit\nLog closed\n"), std::string::npos);
}

TEST_F(DesktopTest, ThePreviewPaintsItsPictureInsideTheParentAndEndsWithIt) {
    const std::vector<uint8_t> bmp = ReadPreviewBitmap();
    ASSERT_GT(bmp.size(), 54u);
    media.Add(manifest::kPreviewBitmap, bmp);
    const uint64_t parent = display.CreateWindow(0, 0, 200, 150, 0x00FF00);
    DesktopApplication app;
    uint32_t inside = 0, outside = 0;
    app.onMessage = [&](uint32_t message, sys::WParam, sys::LParam) {
        if (message != sys::WM_PAINT || !display.WindowExists(parent)) return;
        display.ReadPixel(parent, 76, 20, inside);
        display.ReadPixel(parent, 180, 130, outside);
        display.DestroyWindow(parent);  // the host closes its settings
    };
    ASSERT_TRUE(app.Start(RunMode::Preview, static_cast<uint32_t>(parent)));
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_EQ(inside, BmpPixel(bmp, 76, 20));
    EXPECT_EQ(outside, 0x00FF00u);  // unscaled: the parent's own colour beyond 152 x 112
}

TEST_F(DesktopTest, APreviewEndsOnSigtermWhileItWaits) {
    const uint64_t parent = display.CreateWindow(0, 0, 152, 112, 0x000080);
    DesktopApplication app;
    ASSERT_TRUE(app.Start(RunMode::Preview, static_cast<uint32_t>(parent)));
    std::raise(SIGTERM);
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_TRUE(app.exitedFinally);
    EXPECT_TRUE(display.WindowExists(parent));  // the parent is not ours to destroy
    display.DestroyWindow(parent);
}

TEST_F(DesktopTest, AHostWindowIsDrawnInAndFollowedWhenItsSizeChanges) {
    const uint64_t host = display.CreateWindow(0, 0, 300, 200, 0x202020);
    sys::SetHostWindow(host);
    DesktopApplication app;
    const bool started = app.Start(RunMode::Saver);
    sys::SetHostWindow(0);
    ASSERT_TRUE(started);
    EXPECT_TRUE(app.Hosted());
    EXPECT_EQ(app.SaverWindow()->GetClientRect(), (sys::Rect{0, 0, 300, 200}));
    app.step = [&](int pass) {
        if (pass == 2) {
            display.MovePointer(20, 20);
            display.PressKey("Escape");  // the host's business
            display.Click(1);
            display.ResizeWindow(host, 400, 260);
        }
    };
    int width = 0, height = 0;
    app.onMessage = [&](uint32_t message, sys::WParam, sys::LParam l) {
        if (message != sys::WM_SIZE) return;
        width = static_cast<int>(sys::LowWord(static_cast<uint64_t>(l)));
        height = static_cast<int>(sys::HighWord(static_cast<uint64_t>(l)));
        if (width == 400 && height == 260) app.RequestExit();
    };
    EXPECT_EQ(app.RunMainLoop(), 1);
    EXPECT_FALSE(app.timedOut) << width << "x" << height;
    EXPECT_EQ(app.SaverWindow(), nullptr);
    EXPECT_TRUE(display.WindowExists(host));
    display.DestroyWindow(host);
}
