#include "shell/InputSystem.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sys/DirectInputKeys.h"
#include "platform/sys/Messages.h"
#include "support/FakeInputDevices.h"
#include "support/FakeWindowSystem.h"

namespace {

class TestFramework final : public RenderFramework {
public:
    TestFramework(sys::Window* window, bool device) {
        renderWindow_ = window;
        hasDevice_ = device;
        windowed_ = false;
        clientRect_ = {0, 0, 640, 480};
        DeviceSettings fullScreen;  // full screen, the client area is the mode's size
        fullScreen.width = 640;
        fullScreen.height = 480;
        SetFullScreenSlot(fullScreen);
    }
    void SetWindowed(bool windowed) { windowed_ = windowed; }
};

class Recorder final : public InputListener {
public:
    void OnInputEvent(const InputEvent& event) override { events.push_back(event); }
    std::vector<uint32_t> Types() const {
        std::vector<uint32_t> types;
        for (const InputEvent& e : events) types.push_back(e.type);
        return types;
    }
    std::vector<InputEvent> events;
};

using Types = std::vector<uint32_t>;

class InputSystemTest : public testing::Test {
protected:
    bool Start(bool useCursor = true) {
        input.AddListener(&recorder);
        return input.Init(useCursor, kFlags, kFlags);
    }
    void Message(uint32_t message, sys::WParam w = 0, sys::LParam l = 0) { framework.MsgProc(&window, message, w, l); }
    void Click(FakeInputDevice& mouse, uint32_t offset, uint32_t time) {
        mouse.Push(offset, 0x80, time);
        mouse.Push(offset, 0x00, time);
        input.Dispatch();
    }

    static constexpr uint32_t kFlags = sys::DISCL_FOREGROUND | sys::DISCL_NONEXCLUSIVE;
    std::vector<FakePaint> paints;
    FakeWindow window{sys::WindowParams{}, nullptr, paints};
    FakeInputDevices devices;
    TestFramework framework{&window, true};
    InputSystem input{framework};
    Recorder recorder;
};

}  // namespace

TEST_F(InputSystemTest, InitNeedsADeviceAndSetsUpBothDevices) {
    {
        TestFramework noDevice(&window, false);
        InputSystem without(noDevice);
        without.AddListener(&recorder);
        EXPECT_FALSE(without.Init(true, kFlags, kFlags));
        EXPECT_EQ(devices.keyboard, nullptr);
        noDevice.MsgProc(&window, sys::WM_CHAR, 'x', 0);
        EXPECT_TRUE(recorder.events.empty());  // not a listener of that framework either
    }
    ASSERT_TRUE(Start());
    for (FakeInputDevice* device : {devices.keyboard, devices.mouse}) {
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->window, &window);
        EXPECT_EQ(device->flags, 6u);
        EXPECT_EQ(device->capacity, 64u);
        EXPECT_TRUE(device->acquired);
    }
    EXPECT_EQ(devices.cursor, FakeInputDevices::Cursor::Arrow);
    Message(sys::WM_CHAR, 'x');
    ASSERT_EQ(recorder.Types(), Types{kCharacter});
    EXPECT_EQ(recorder.events[0].parameter, uint32_t{'x'});

    devices.failCreate = true;
    EXPECT_FALSE(input.Init(true, kFlags, kFlags));
}

TEST_F(InputSystemTest, DoubleClickNeedsTheSecondReleaseWithin500Ms) {
    ASSERT_TRUE(Start());
    FakeInputDevice& mouse = *devices.mouse;
    Click(mouse, sys::DIMOFS_BUTTON0, 1000);
    Click(mouse, sys::DIMOFS_BUTTON0, 1499);
    EXPECT_EQ(recorder.Types(), (Types{0, 1, 0, 1, 2}));

    recorder.events.clear();
    Click(mouse, sys::DIMOFS_BUTTON0, 3000);
    Click(mouse, sys::DIMOFS_BUTTON0, 3500);  // too late: counts as a new first click
    Click(mouse, sys::DIMOFS_BUTTON0, 3700);
    EXPECT_EQ(recorder.Types(), (Types{0, 1, 0, 1, 0, 1, 2}));

    recorder.events.clear();
    Click(mouse, sys::DIMOFS_BUTTON1, 5000);
    Click(mouse, sys::DIMOFS_BUTTON1, 5100);
    Click(mouse, sys::DIMOFS_BUTTON2, 5200);  // middle button: ignored
    EXPECT_EQ(recorder.Types(), (Types{3, 4, 3, 4, 5}));
    for (uint32_t type : recorder.Types()) EXPECT_TRUE(IsButtonEvent(type));
}

TEST_F(InputSystemTest, OneDeviceIsServedPerDispatchKeyboardFirst) {
    ASSERT_TRUE(Start());
    devices.keyboard->Push(sys::DIK_A, 0x80);
    devices.mouse->Push(sys::DIMOFS_BUTTON0, 0x80);
    input.Dispatch();
    ASSERT_EQ(recorder.Types(), Types{kKeyPressed});
    EXPECT_EQ(recorder.events[0].parameter, sys::DIK_A);
    EXPECT_TRUE(input.IsKeyDown(sys::DIK_A));
    input.Dispatch();
    EXPECT_EQ(recorder.Types(), (Types{kKeyPressed, kLeftButtonPressed}));
    input.Dispatch();
    EXPECT_EQ(recorder.events.size(), 2u);

    devices.keyboard->Push(sys::DIK_A, 0);
    devices.keyboard->Push(300, 0x80);  // not a key code: the rest of the read is dropped
    devices.keyboard->Push(sys::DIK_B, 0x80);
    input.Dispatch();
    EXPECT_EQ(recorder.Types(), (Types{kKeyPressed, kLeftButtonPressed, kKeyReleased}));
    EXPECT_FALSE(input.IsKeyDown(sys::DIK_A));
    EXPECT_FALSE(input.IsKeyDown(sys::DIK_B));
    EXPECT_FALSE(input.IsKeyDown(300));
}

TEST_F(InputSystemTest, AtMost64ItemsAreReadPerDispatch) {
    ASSERT_TRUE(Start());
    FakeInputDevice& keyboard = *devices.keyboard;
    for (uint32_t i = 0; i < 70; ++i) keyboard.Push(sys::DIK_Q + i % 10, i % 2 ? 0 : 0x80);
    EXPECT_EQ(keyboard.items.size(), 64u);  // the device keeps what its buffer holds
    input.Dispatch();
    EXPECT_EQ(recorder.events.size(), 64u);

    // A device holding more than one read's worth: the rest waits for the next signal.
    recorder.events.clear();
    keyboard.capacity = 100;
    for (uint32_t i = 0; i < 80; ++i) keyboard.Push(sys::DIK_Z, i % 2 ? 0 : 0x80);
    input.Dispatch();
    EXPECT_EQ(recorder.events.size(), 64u);
    input.Dispatch();
    EXPECT_EQ(recorder.events.size(), 64u);
    keyboard.Push(sys::DIK_Z, 0x80);
    input.Dispatch();
    EXPECT_EQ(recorder.events.size(), 81u);
    EXPECT_TRUE(input.IsKeyDown(sys::DIK_Z));
}

TEST_F(InputSystemTest, LostInputIsAcquiredAgainAndReadOnce) {
    ASSERT_TRUE(Start());
    FakeInputDevice& keyboard = *devices.keyboard;
    keyboard.Push(sys::DIK_ESCAPE, 0x80);
    keyboard.Lose();
    input.Dispatch();
    EXPECT_EQ(recorder.Types(), Types{kKeyPressed});
    EXPECT_TRUE(keyboard.acquired);

    keyboard.keys[sys::DIK_LSHIFT] = 0x80;
    keyboard.Lose();
    EXPECT_TRUE(input.Poll(0));
    EXPECT_TRUE(input.IsKeyDown(sys::DIK_LSHIFT));

    // Still lost after acquiring again: the read is dropped.
    keyboard.Lose();
    keyboard.denyAcquire = true;
    keyboard.keys[sys::DIK_LSHIFT] = 0;
    EXPECT_FALSE(input.Poll(0));
    EXPECT_TRUE(input.IsKeyDown(sys::DIK_LSHIFT));  // the last good state stays
    keyboard.Push(sys::DIK_A, 0x80);
    const int reads = keyboard.dataReads;
    input.Dispatch();
    EXPECT_EQ(keyboard.dataReads, reads + 2);
    EXPECT_EQ(recorder.events.size(), 1u);
}

TEST_F(InputSystemTest, WindowMessagesMoveThePointerAndFollowTheFocus) {
    ASSERT_TRUE(Start(false));
    Message(sys::WM_MOUSEMOVE, 0, sys::MakeLParam(100, 50));
    Message(sys::WM_MOUSEMOVE, 0, sys::MakeLParam(100, 50));
    ASSERT_EQ(recorder.Types(), (Types{kMouseMoved, kMouseMoved}));
    const InputEvent& first = recorder.events[0];
    EXPECT_EQ(first.x, 100.0f);
    EXPECT_EQ(first.y, 50.0f);
    EXPECT_EQ(first.previousX, 0.0f);
    EXPECT_EQ(first.moveX, 100.0f);
    EXPECT_EQ(first.moveY, 50.0f);
    const InputEvent& second = recorder.events[1];
    EXPECT_EQ(second.previousX, 100.0f);
    EXPECT_EQ(second.moveX, 0.0f);

    Message(sys::WM_KILLFOCUS);
    EXPECT_FALSE(input.HasFocus());
    EXPECT_FALSE(devices.keyboard->acquired);
    EXPECT_FALSE(devices.mouse->acquired);
    Message(sys::WM_SETFOCUS);
    EXPECT_TRUE(input.HasFocus());
    EXPECT_TRUE(devices.mouse->acquired);
    EXPECT_EQ(recorder.Types().back(), uint32_t{kFocusGained});

    // Full screen without the system cursor: no cursor over the window; windowed: the arrow.
    Message(sys::WM_SETCURSOR);
    EXPECT_EQ(devices.cursor, FakeInputDevices::Cursor::None);
    framework.SetWindowed(true);
    Message(sys::WM_SETCURSOR);
    EXPECT_EQ(devices.cursor, FakeInputDevices::Cursor::Arrow);

    // Axis data is a move without the system cursor.
    recorder.events.clear();
    framework.SetWindowed(false);
    devices.mouse->Push(sys::DIMOFS_X, 5);
    input.Dispatch();
    EXPECT_EQ(recorder.Types(), Types{kMouseMoved});
}

TEST_F(InputSystemTest, AxisDataWithTheSystemCursorIsReportedAsAxisEvents) {
    ASSERT_TRUE(Start(true));
    devices.cursorX = 30;
    devices.cursorY = 40;
    input.Poll(0);
    devices.cursorX = 35;
    input.Poll(0);
    devices.mouse->Push(sys::DIMOFS_X, 5);
    devices.mouse->Push(sys::DIMOFS_Y, 0);
    input.Dispatch();
    ASSERT_EQ(recorder.Types(), (Types{kMouseAxis, kMouseAxis}));
    EXPECT_EQ(recorder.events[0].x, 35.0f);
    EXPECT_EQ(recorder.events[0].moveX, 5.0f);
    EXPECT_EQ(recorder.events[0].moveY, 0.0f);
}

TEST_F(InputSystemTest, PollFollowsTheCursorOrTheDeviceWithinTheClientArea) {
    ASSERT_TRUE(Start(true));
    devices.cursorX = 700;
    devices.cursorY = -5;
    input.Poll(0);
    EXPECT_EQ(input.MouseX(), 639.0f);
    EXPECT_EQ(input.MouseY(), 0.0f);
    devices.leftDown = true;
    EXPECT_TRUE(input.IsLeftButtonDown());
    EXPECT_FALSE(input.IsRightButtonDown());

    // Full screen on the device's own movement: the position adds up the movement.
    InputSystem device(framework);
    ASSERT_TRUE(device.Init(false, kFlags, kFlags));
    devices.mouse->mouse.lX = 120;
    devices.mouse->mouse.lY = 80;
    devices.mouse->mouse.rgbButtons[1] = 0x80;
    for (int i = 0; i < 3; ++i) device.Poll(0);
    EXPECT_EQ(device.MouseX(), 120.0f);
    EXPECT_EQ(device.MouseY(), 80.0f);
    devices.mouse->mouse.lX = -2000;
    for (int i = 0; i < 3; ++i) device.Poll(0);
    EXPECT_EQ(device.MouseX(), 0.0f);
    EXPECT_FALSE(device.IsLeftButtonDown());  // the device's buttons, not the system's
    EXPECT_TRUE(device.IsRightButtonDown());
}

TEST_F(InputSystemTest, ReleaseLeavesTheFrameworkAndFreesTheDevices) {
    ASSERT_TRUE(Start());
    input.ReleaseDevices();
    EXPECT_EQ(devices.keyboard, nullptr);
    EXPECT_EQ(devices.mouse, nullptr);
    Message(sys::WM_CHAR, 'x');
    EXPECT_TRUE(recorder.events.empty());
    input.Dispatch();  // nothing to read, nothing happens
    EXPECT_FALSE(input.Poll(0));
}
