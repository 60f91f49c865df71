#include "shell/CameraControl.h"

#include <gtest/gtest.h>

#include "platform/sys/DirectInputKeys.h"
#include "shell/InputSystem.h"
#include "support/FakeInputDevices.h"
#include "support/FakeWindowSystem.h"

namespace {

class TestFramework final : public RenderFramework {
public:
    explicit TestFramework(sys::Window* window) {
        renderWindow_ = window;
        hasDevice_ = true;
        clientRect_ = {0, 0, 800, 600};
    }
};

class CameraControlTest : public testing::Test {
protected:
    CameraControlTest() {
        input.Init(true, 6, 6);
        control.Attach(&input, &camera);
    }
    void Step() {
        input.Poll(0);
        control.Update();
    }

    std::vector<FakePaint> paints;
    FakeWindow window{sys::WindowParams{}, nullptr, paints};
    FakeInputDevices devices;
    TestFramework framework{&window};
    InputSystem input{framework};
    CameraPose camera;
    CameraControl control;
};

void ExpectNear(math::Vec3 actual, math::Vec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

}  // namespace

TEST_F(CameraControlTest, ButtonsAndKeysMoveAlongTheCameraAxes) {
    control.SetSpeed(0.5f);
    devices.leftDown = true;
    Step();
    ExpectNear(camera.position, {0, 0, 0.5f});
    devices.leftDown = false;
    devices.keyboard->keys[sys::DIK_A] = 0x80;  // side = forward x up, to the left
    devices.keyboard->keys[sys::DIK_W] = 0x80;
    Step();
    ExpectNear(camera.position, {-0.5f, 0.5f, 0.5f});
    devices.keyboard->keys[sys::DIK_A] = 0;
    devices.keyboard->keys[sys::DIK_W] = 0;
    devices.keyboard->keys[sys::DIK_D] = 0x80;
    devices.keyboard->keys[sys::DIK_S] = 0x80;
    devices.rightDown = true;
    Step();
    ExpectNear(camera.position, {0, 0, 0});

    // Without the focus nothing moves.
    framework.MsgProc(&window, sys::WM_KILLFOCUS, 0, 0);
    control.Update();
    ExpectNear(camera.position, {0, 0, 0});
}

TEST_F(CameraControlTest, MouseLooksAroundOnlyWithShiftOrControlHeld) {
    Step();
    devices.cursorX = 160;  // one radian across
    Step();
    ExpectNear(camera.forward, {0, 0, 1});

    devices.keyboard->keys[sys::DIK_LSHIFT] = 0x80;
    devices.cursorX = 0;
    Step();
    devices.cursorX = 80;  // half a radian to the right
    Step();
    ExpectNear(camera.forward, {std::sin(0.5f), 0, std::cos(0.5f)});
    ExpectNear(camera.up, {0, 1, 0});

    devices.keyboard->keys[sys::DIK_LSHIFT] = 0;
    devices.keyboard->keys[sys::DIK_LCONTROL] = 0x80;
    camera.forward = {0, 0, 1};
    devices.cursorY = 50;  // pointer down: look down by half a radian
    Step();
    EXPECT_NEAR(camera.forward.y, -std::sin(0.5f), 1e-5f);
    EXPECT_NEAR(math::Dot(camera.forward, camera.up), 0.0f, 1e-5f);
}
