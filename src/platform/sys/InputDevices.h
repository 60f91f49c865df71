#pragma once
// Keyboard and mouse with the platform input library's model: a device is acquired for a window,
// keeps up to a set number of buffered items (a key code or a mouse axis or button, with its value
// and time stamp), raises an auto-reset signal when data arrives, and reports its whole state on
// request. Result codes and data offsets keep the library's numbers. The pointer calls of the
// window system that the input system also needs (cursor position, button state, cursor shape)
// live here too.

#include <cstdint>
#include <memory>

#include "platform/sys/Window.h"

namespace sys {

using InputResult = int32_t;
constexpr InputResult DI_OK = 0;
constexpr InputResult DI_BUFFEROVERFLOW = 1;  // success, but items were lost
constexpr InputResult DIERR_NOTACQUIRED = static_cast<int32_t>(0x8007000C);
constexpr InputResult DIERR_INPUTLOST = static_cast<int32_t>(0x8007001E);
constexpr InputResult DIERR_OTHERAPPHASPRIO = static_cast<int32_t>(0x80070005);
constexpr InputResult DIERR_INVALIDPARAM = static_cast<int32_t>(0x80070057);
constexpr bool InputSucceeded(InputResult result) { return result >= 0; }

// Cooperative levels.
constexpr uint32_t DISCL_EXCLUSIVE = 0x1;
constexpr uint32_t DISCL_NONEXCLUSIVE = 0x2;
constexpr uint32_t DISCL_FOREGROUND = 0x4;
constexpr uint32_t DISCL_BACKGROUND = 0x8;

// Offsets of the mouse's items in its state record.
constexpr uint32_t DIMOFS_X = 0;
constexpr uint32_t DIMOFS_Y = 4;
constexpr uint32_t DIMOFS_Z = 8;
constexpr uint32_t DIMOFS_BUTTON0 = 12;  // left
constexpr uint32_t DIMOFS_BUTTON1 = 13;  // right
constexpr uint32_t DIMOFS_BUTTON2 = 14;  // middle
constexpr uint32_t DIMOFS_BUTTON3 = 15;

// One buffered item: for the keyboard the key code and 0x80 (pressed) or 0; for the mouse an
// offset above with the axis position (absolute axes) or 0x80/0 for a button.
struct DIDEVICEOBJECTDATA {
    uint32_t dwOfs = 0;
    uint32_t dwData = 0;
    uint32_t dwTimeStamp = 0;  // milliseconds
    uint32_t dwSequence = 0;
};

// The mouse's state: absolute axis positions and the buttons (bit 7 = down).
struct DIMOUSESTATE {
    int32_t lX = 0;
    int32_t lY = 0;
    int32_t lZ = 0;
    uint8_t rgbButtons[4] = {};
};
static_assert(sizeof(DIMOUSESTATE) == 16);

constexpr uint32_t kKeyboardStateBytes = 256;

enum class InputDeviceKind { Keyboard, Mouse };

class InputDevice {
public:
    virtual ~InputDevice() = default;
    virtual InputResult SetCooperativeLevel(Window* window, uint32_t flags) = 0;
    // How many items the device keeps; later items are dropped until they are read.
    virtual InputResult SetBufferSize(uint32_t items) = 0;
    virtual InputResult Acquire() = 0;
    virtual InputResult Unacquire() = 0;
    // Keyboard: kKeyboardStateBytes bytes by key code. Mouse: a DIMOUSESTATE.
    virtual InputResult GetDeviceState(void* state, uint32_t size) = 0;
    // Takes up to `count` items, oldest first; `count` becomes the number taken.
    virtual InputResult GetDeviceData(DIDEVICEOBJECTDATA* items, uint32_t& count) = 0;
    // The device's notification event, tested without waiting: true once after data arrived.
    virtual bool TakeSignal() = 0;
};

// Mouse buttons for IsButtonDown, with the platform's virtual-key numbers.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;

class InputDevices {
public:
    virtual ~InputDevices() = default;
    // The system keyboard or mouse; null when the system has none to give.
    virtual std::unique_ptr<InputDevice> CreateDevice(InputDeviceKind kind) = 0;
    // The system cursor in the client coordinates of `window`.
    virtual bool GetCursorPos(Window* window, int& x, int& y) = 0;
    // The button's state right now, wherever the cursor is.
    virtual bool IsButtonDown(int virtualButton) = 0;
    // The arrow cursor, or no cursor at all over our windows.
    virtual void SetCursor(bool arrow) = 0;
};

// The process's input library: the platform's unless a test installed another.
InputDevices& GetInputDevices();
void SetInputDevices(InputDevices* devices);  // null restores the platform's

}  // namespace sys
