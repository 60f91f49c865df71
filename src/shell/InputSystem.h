#pragma once
// The engine's keyboard and mouse: buffered device data and window messages turned into input
// events for the listeners, plus the current key, button and pointer state. It follows the
// framework's window messages and device resets as one of its listeners.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/Timing.h"
#include "platform/sys/InputDevices.h"
#include "shell/InputEvent.h"
#include "shell/RenderFramework.h"

class InputSystem final : public MessageListener, public DeviceListener {
public:
    static constexpr uint32_t kBufferItems = 64;
    static constexpr uint32_t kDoubleClickMs = 500;

    explicit InputSystem(RenderFramework& framework) : framework_(framework) {}
    ~InputSystem() override { ReleaseDevices(); }
    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    bool Init(bool useCursor, uint32_t keyboardFlags, uint32_t mouseFlags);
    // Refreshes the pointer and the key state when `periodMs` has passed since the last refresh.
    bool Poll(int64_t periodMs);
    // Delivers the buffered data of one device (the keyboard first) as events.
    void Dispatch();
    void AddListener(InputListener* listener) { listeners_.push_back(listener); }
    const std::vector<InputListener*>& Listeners() const { return listeners_; }
    bool IsKeyDown(uint32_t keyCode) const { return keyCode < keyState_.size() && (keyState_[keyCode] & 0x80) != 0; }
    bool IsLeftButtonDown() const { return IsButtonDown(sys::VK_LBUTTON, 0); }
    bool IsRightButtonDown() const { return IsButtonDown(sys::VK_RBUTTON, 1); }
    void ReleaseDevices();

    bool HasFocus() const { return focus_; }
    float MouseX() const { return mouseX_; }
    float MouseY() const { return mouseY_; }
    // Pointer movement between the last two refreshes.
    float MoveX() const { return mouseX_ - previousX_; }
    float MoveY() const { return mouseY_ - previousY_; }

    void OnMessage(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) override;
    bool OnDeviceReset() override;
    bool OnDeviceLost() override { return true; }

private:
    struct ClickCounter {
        int clicks = 0;
        uint32_t firstTimeStamp = 0;
    };

    bool CreateDevice(std::unique_ptr<sys::InputDevice>& device, sys::InputDeviceKind kind, uint32_t flags);
    void ReadMousePosition();
    bool ReadState(sys::InputDevice& device, void* state, uint32_t size);
    uint32_t ReadItems(sys::InputDevice& device);
    void DispatchKeyboard(uint32_t count);
    void DispatchMouse(uint32_t count);
    void CountRelease(ClickCounter& counter, uint32_t timeStamp, uint32_t doubleClickType);
    void Send(uint32_t type, uint32_t parameter = 0);
    void AcquireDevices();
    void UnacquireDevices();
    bool IsButtonDown(int virtualButton, int index) const;

    RenderFramework& framework_;
    sys::InputDevices* directInput_ = nullptr;
    std::unique_ptr<sys::InputDevice> keyboard_;
    std::unique_ptr<sys::InputDevice> mouse_;
    sys::Window* window_ = nullptr;
    std::array<uint8_t, sys::kKeyboardStateBytes> keyState_{};
    sys::DIMOUSESTATE mouseState_;
    float mouseX_ = 0.0f, mouseY_ = 0.0f;
    float previousX_ = 0.0f, previousY_ = 0.0f;
    float sensitivity_ = 1.0f;
    int32_t rawX_ = 0, rawY_ = 0;                  // last raw position read
    int32_t previousRawX_ = 0, previousRawY_ = 0;  // the one before
    int screenWidth_ = 0, screenHeight_ = 0;
    bool useCursor_ = false;
    bool focus_ = true;
    ClickCounter leftClicks_, rightClicks_;
    Stopwatch pollTimer_;
    std::array<sys::DIDEVICEOBJECTDATA, kBufferItems> items_{};
    std::vector<InputListener*> listeners_;
};
