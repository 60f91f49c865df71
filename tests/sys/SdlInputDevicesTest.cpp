// The SDL keyboard and mouse offscreen: SDL's events become buffered items with the input
// library's key codes and offsets.

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/sys/DirectInputKeys.h"
#include "platform/sys/InputDevices.h"
#include "platform/sys/Window.h"

namespace {

sys::LResult Ignore(sys::WindowHandle, uint32_t, sys::WParam, sys::LParam) { return 0; }

class SdlInputDevicesTest : public testing::Test {
protected:
    void SetUp() override {
        windows.RegisterClass({"Input Test Class", 0, &Ignore});
        window = windows.CreateWindow({"Input Test Class", "test", sys::WS_POPUP, {0, 0, 64, 48}, 0});
        ASSERT_TRUE(window);
        windowId = SDL_GetWindowID(static_cast<SDL_Window*>(window->NativeHandle()));
        keyboard = Device(sys::InputDeviceKind::Keyboard);
        mouse = Device(sys::InputDeviceKind::Mouse);
    }
    void TearDown() override {
        keyboard.reset();
        mouse.reset();
        window.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    std::unique_ptr<sys::InputDevice> Device(sys::InputDeviceKind kind) {
        auto device = sys::GetInputDevices().CreateDevice(kind);
        EXPECT_TRUE(device);
        EXPECT_EQ(device->SetCooperativeLevel(window.get(), sys::DISCL_FOREGROUND | sys::DISCL_NONEXCLUSIVE), sys::DI_OK);
        EXPECT_EQ(device->SetBufferSize(4), sys::DI_OK);
        EXPECT_EQ(device->Acquire(), sys::DI_OK);
        return device;
    }
    // Pushes an event and lets SDL queue it (the devices watch the queue), as the message pump does.
    void Push(SDL_Event event) {
        SDL_PushEvent(&event);
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void Key(SDL_Scancode scancode, bool down, bool repeat = false) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = windowId;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        Push(event);
    }
    void Focus(bool gained) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId;
        event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        Push(event);
    }
    uint32_t Read(sys::InputDevice& device, sys::DIDEVICEOBJECTDATA* items, sys::InputResult expected = sys::DI_OK) {
        uint32_t count = 8;
        EXPECT_EQ(device.GetDeviceData(items, count), expected);
        return count;
    }

    sys::WindowSystem& windows = sys::GetWindowSystem();
    std::unique_ptr<sys::Window> window;
    uint32_t windowId = 0;
    std::unique_ptr<sys::InputDevice> keyboard, mouse;
};

}  // namespace

TEST_F(SdlInputDevicesTest, KeysArriveWithTheirKeyCodesAndAFullBufferDropsTheNewest) {
    EXPECT_FALSE(keyboard->TakeSignal());
    Key(SDL_SCANCODE_A, true);
    Key(SDL_SCANCODE_A, true, true);  // auto-repeat is not a new press
    Key(SDL_SCANCODE_KP_ENTER, true);
    Key(SDL_SCANCODE_RCTRL, false);
    Key(SDL_SCANCODE_ESCAPE, true);
    Key(SDL_SCANCODE_LSHIFT, true);  // the fifth item: no room
    EXPECT_TRUE(keyboard->TakeSignal());
    EXPECT_FALSE(keyboard->TakeSignal());  // auto-reset
    EXPECT_FALSE(mouse->TakeSignal());
    sys::DIDEVICEOBJECTDATA items[8];
    ASSERT_EQ(Read(*keyboard, items, sys::DI_BUFFEROVERFLOW), 4u);
    EXPECT_EQ(items[0].dwOfs, sys::DIK_A);
    EXPECT_EQ(items[0].dwData, 0x80u);
    EXPECT_EQ(items[1].dwOfs, sys::DIK_NUMPADENTER);
    EXPECT_EQ(items[2].dwOfs, sys::DIK_RCONTROL);
    EXPECT_EQ(items[2].dwData, 0u);
    EXPECT_EQ(items[3].dwOfs, sys::DIK_ESCAPE);
    EXPECT_EQ(Read(*keyboard, items), 0u);

    uint8_t state[sys::kKeyboardStateBytes];
    EXPECT_EQ(keyboard->GetDeviceState(state, sizeof state), sys::DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(state, 16), sys::DIERR_INVALIDPARAM);
}

TEST_F(SdlInputDevicesTest, TheMouseReportsAbsoluteAxesAndItsButtons) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = windowId;
    motion.motion.xrel = 5;
    motion.motion.yrel = -3;
    Push(motion);
    Push(motion);
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.windowID = windowId;
    button.button.button = SDL_BUTTON_RIGHT;
    Push(button);
    EXPECT_TRUE(mouse->TakeSignal());
    EXPECT_FALSE(keyboard->TakeSignal());
    sys::DIDEVICEOBJECTDATA items[8];
    ASSERT_EQ(Read(*mouse, items, sys::DI_BUFFEROVERFLOW), 4u);  // x, y, x, y; the button found no room
    EXPECT_EQ(items[0].dwOfs, sys::DIMOFS_X);
    EXPECT_EQ(items[0].dwData, 5u);
    EXPECT_EQ(items[1].dwOfs, sys::DIMOFS_Y);
    EXPECT_EQ(static_cast<int32_t>(items[1].dwData), -3);
    EXPECT_EQ(items[2].dwData, 10u);
    Push(button);
    ASSERT_EQ(Read(*mouse, items), 1u);
    EXPECT_EQ(items[0].dwOfs, sys::DIMOFS_BUTTON1);
    EXPECT_EQ(items[0].dwData, 0x80u);
    sys::DIMOUSESTATE state;
    ASSERT_EQ(mouse->GetDeviceState(&state, sizeof state), sys::DI_OK);
    EXPECT_EQ(state.lX, 10);
    EXPECT_EQ(state.lY, -6);
    EXPECT_EQ(state.rgbButtons[1], 0x80);
}

TEST_F(SdlInputDevicesTest, LosingTheFocusLosesTheInputUntilTheFocusReturns) {
    Focus(false);
    sys::DIDEVICEOBJECTDATA items[8];
    Read(*keyboard, items, sys::DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->Acquire(), sys::DIERR_OTHERAPPHASPRIO);
    Key(SDL_SCANCODE_B, true);  // typed elsewhere
    Focus(true);
    EXPECT_EQ(keyboard->Acquire(), sys::DI_OK);
    EXPECT_EQ(Read(*keyboard, items), 0u);
    EXPECT_EQ(keyboard->Unacquire(), sys::DI_OK);
    Read(*keyboard, items, sys::DIERR_NOTACQUIRED);
}
