#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FakeDirect3D.h"
#include "common/Log.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "shell/Application.h"
#include "support/FakeSystem.h"

using namespace gfx;

namespace {

FakeDirect3D* g_fake = nullptr;

Ref<Direct3D> MakeFake(uint32_t) { return Ref<Direct3D>(g_fake); }

class FakeWindow final : public sys::Window {
public:
    sys::Rect client{0, 0, 800, 600};
    sys::Rect placed;
    uint32_t style = sys::WS_POPUP | sys::WS_VISIBLE;
    sys::Rect GetClientRect() const override { return client; }
    sys::Rect GetWindowRect() const override { return {10, 20, 10 + client.Width(), 20 + client.Height()}; }
    uint32_t GetStyle() const override { return style; }
    void SetStyle(uint32_t s) override { style = s; }
    void SetPlacement(const sys::Rect& box) override { placed = box; }
    void* NativeHandle() const override { return const_cast<FakeWindow*>(this); }
    bool PaintBitmap(std::span<const uint8_t>, int, int) override { return true; }
};

class CountingListener final : public DeviceListener {
public:
    int resets = 0, losses = 0;
    bool resetResult = true;
    bool OnDeviceReset() override {
        ++resets;
        return resetResult;
    }
    bool OnDeviceLost() override {
        ++losses;
        return true;
    }
};

class RenderFrameworkTest : public testing::Test {
protected:
    void SetUp() override {
        g_fake = new FakeDirect3D;  // the framework takes over this reference
        SetDirect3DFactory(&MakeFake);
    }
    void TearDown() override { SetDirect3DFactory(nullptr); }
    RecordingDevice& device() { return *g_fake->lastDevice; }

    FakeWindow window_;
    CountingListener listener_;
    FakeSystem system_;  // what the application asks of the desktop stays in the test
};

TEST_F(RenderFrameworkTest, CreateFindsBothSlotsAndSetModeMakesTheDevice) {
    RenderFramework framework;
    EXPECT_FALSE(framework.AddDeviceListener(&listener_));  // no device yet
    ASSERT_TRUE(framework.Create(nullptr, &window_));
    ASSERT_TRUE(framework.SetMode(true));
    EXPECT_TRUE(framework.HasDevice());
    EXPECT_TRUE(framework.AddDeviceListener(&listener_));
    EXPECT_EQ(CurrentDevice(), framework.Device());
    EXPECT_FALSE(g_fake->lastParameters.Windowed);
    EXPECT_EQ(g_fake->lastParameters.BackBufferWidth, 1024u);  // the desktop's mode
    EXPECT_EQ(g_fake->lastParameters.Flags, D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL);
    EXPECT_EQ(g_fake->lastBehaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
    int x, y, w, h;
    framework.GetClientArea(x, y, w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);

    // Windowed: the back buffer is the client area and the window is placed where it was.
    ASSERT_TRUE(framework.SetMode(false));
    EXPECT_EQ(listener_.losses, 1);  // the first device's reset was paired on release
    EXPECT_EQ(listener_.resets, 1);
    EXPECT_TRUE(g_fake->lastParameters.Windowed);
    EXPECT_EQ(g_fake->lastParameters.BackBufferWidth, 800u);
    EXPECT_EQ(window_.placed, window_.GetWindowRect());
    framework.GetClientArea(x, y, w, h);
    EXPECT_EQ(w, 800);
}

TEST_F(RenderFrameworkTest, RecoversFromALostDevice) {
    RenderFramework framework;
    ASSERT_TRUE(framework.Create(nullptr, &window_));
    ASSERT_TRUE(framework.SetMode(true));
    ASSERT_TRUE(framework.AddDeviceListener(&listener_));
    device().SimulateDeviceLoss();
    // Lost: frames go on without a reset until the device says it can be reset.
    EXPECT_TRUE(framework.CheckDevice());
    EXPECT_TRUE(framework.CheckDevice());
    EXPECT_EQ(device().CountCalls("Reset"), 0u);
    device().SimulateDeviceRestore();
    EXPECT_TRUE(framework.CheckDevice());
    EXPECT_EQ(device().CountCalls("Reset"), 1u);
    EXPECT_EQ(listener_.losses, 1);
    EXPECT_EQ(listener_.resets, 1);
    EXPECT_EQ(device().TestCooperativeLevel(), D3D_OK);
}

TEST_F(RenderFrameworkTest, RestoredFlagPairsEveryResetWithOneLoss) {
    RenderFramework framework;
    ASSERT_TRUE(framework.Create(nullptr, &window_));
    ASSERT_TRUE(framework.SetMode(true));
    ASSERT_TRUE(framework.AddDeviceListener(&listener_));
    device().SimulateDeviceLoss();
    device().SimulateDeviceRestore();
    device().SetResetFails(true);
    EXPECT_FALSE(framework.CheckDevice());
    EXPECT_EQ(listener_.losses, 1);
    framework.ReleaseDevice();  // nothing restored any more: no second loss
    EXPECT_EQ(listener_.losses, 1);
    EXPECT_EQ(CurrentDevice(), nullptr);
    EXPECT_FALSE(framework.CheckDevice());

    // A reset that the listeners refuse is answered with a loss at once.
    listener_.resetResult = false;
    ASSERT_TRUE(framework.SetMode(true));
    EXPECT_EQ(listener_.losses, 2);
    framework.ReleaseDevice();
    EXPECT_EQ(listener_.losses, 2);
}

TEST_F(RenderFrameworkTest, NoDirect3DOrNoUsableCombinationFailsCreate) {
    SetDirect3DFactory([](uint32_t) { return Ref<Direct3D>(); });
    RenderFramework framework;
    EXPECT_FALSE(framework.Create(nullptr, &window_));
    g_fake->Release();

    g_fake = new FakeDirect3D;
    g_fake->modes.clear();
    SetDirect3DFactory(&MakeFake);
    EXPECT_FALSE(framework.Create(nullptr, &window_));
}

TEST_F(RenderFrameworkTest, SizeChangesResetTheDeviceWithTheNewClientArea) {
    RenderFramework framework;
    ASSERT_TRUE(framework.Create(nullptr, &window_));
    ASSERT_TRUE(framework.SetMode(false));
    framework.MsgProc(&window_, sys::WM_SIZE, sys::SIZE_MAXIMIZED, 0);
    EXPECT_EQ(device().CountCalls("Reset"), 0u);  // same size
    window_.client = {0, 0, 640, 400};
    framework.MsgProc(&window_, sys::WM_EXITSIZEMOVE, 0, 0);
    ASSERT_EQ(device().CountCalls("Reset"), 1u);
    EXPECT_EQ(device().Calls()[device().Calls().size() - 2], "Reset(640, 400, 1)");
    framework.MsgProc(&window_, sys::WM_ACTIVATE, sys::WA_INACTIVE, 0);
    EXPECT_FALSE(framework.IsActive());
    EXPECT_EQ(framework.MsgProc(&window_, sys::WM_POWERBROADCAST, sys::PBT_APMQUERYSUSPEND, 0), 1);
}

TEST_F(RenderFrameworkTest, FullScreenSwallowsWindowCommands) {
    RenderFramework framework;
    ASSERT_TRUE(framework.Create(nullptr, &window_));
    ASSERT_TRUE(framework.SetMode(true));
    EXPECT_EQ(framework.MsgProc(&window_, sys::WM_SYSCOMMAND, sys::SC_MOVE, 0), 1);
    EXPECT_EQ(framework.MsgProc(&window_, sys::WM_NCHITTEST, 0, 0), sys::HTCLIENT);
    ASSERT_TRUE(framework.SetMode(false));
    EXPECT_EQ(framework.MsgProc(&window_, sys::WM_SYSCOMMAND, sys::SC_MOVE, 0), 0);
}

std::string ReadTrace(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(RenderFrameworkTest, ApplicationLoadsTheGammaRampAndRendersFrames) {
    Application app;
    app.settings.Gamma = 100;
    ASSERT_TRUE(app.RenderFramework::Create(nullptr, &window_));
    ASSERT_TRUE(app.SetMode(true));
    D3DGAMMARAMP ramp;
    device().GetGammaRamp(0, ramp);
    EXPECT_EQ(ramp.red[0], 20000);
    EXPECT_EQ(ramp.green[100], 45600);
    EXPECT_EQ(ramp.blue[178], 65535);
    EXPECT_EQ(device().CountCalls("SetGammaRamp"), 1u);

    const std::string path = testing::TempDir() + "render_frame_trace.log";
    std::remove(path.c_str());
    SetTracePath(path.c_str());
    device().ClearCalls();
    EXPECT_TRUE(app.RenderFrame());
    // Cleared to the background colour (100, 0, 0) / 255 packed, with depth 1 and stencil 0.
    EXPECT_EQ(device().Calls()[1], "Clear(0, null, 3, 4284743680, 1, 0)");
    EXPECT_EQ(device().PresentCount(), 1u);
    EXPECT_EQ(device().CountCalls("BeginScene"), 1u);
    EXPECT_EQ(device().CountCalls("EndScene"), 1u);

    DeviceStateCache::Get().resetStats();
    device().ClearCalls();
    EXPECT_TRUE(app.RenderFrame());
    // The second frame's states repeat the first's: none reaches the device.
    EXPECT_EQ(device().CountCalls("SetRenderState"), 0u);
    EXPECT_EQ(DeviceStateCache::Get().stats().made, 0u);

    app.ReleaseDevice();
    EXPECT_FALSE(app.RenderFrame());
    SetTracePath(nullptr);
    EXPECT_EQ(ReadTrace(path),
              "fade quad ok\nwindow manager ok\npresent ok\nfade quad ok\nwindow manager ok\npresent ok\ndevice lost\n");
}

}  // namespace
