#pragma once
// What the input system tells its listeners: eight 32-bit values per event.

#include <cstdint>

enum InputEventType : uint32_t {
    kLeftButtonPressed = 0,
    kLeftButtonReleased = 1,
    kLeftDoubleClick = 2,
    kRightButtonPressed = 3,
    kRightButtonReleased = 4,
    kRightDoubleClick = 5,
    kMouseMoved = 6,
    kMouseAxis = 7,
    kKeyPressed = 8,
    kKeyReleased = 9,
    kCharacter = 10,
    kFocusGained = 11,
};

struct InputEvent {
    uint32_t type = 0;
    float x = 0.0f, y = 0.0f;          // position (client coordinates)
    float previousX = 0.0f, previousY = 0.0f;
    float moveX = 0.0f, moveY = 0.0f;
    uint32_t parameter = 0;            // key code or character
};
static_assert(sizeof(InputEvent) == 32);

// Button presses, releases and double clicks (types 0 to 5).
constexpr bool IsButtonEvent(uint32_t type) { return type <= kRightDoubleClick; }

class InputListener {
public:
    virtual ~InputListener() = default;
    virtual void OnInputEvent(const InputEvent& event) = 0;
};
