#include "shell/InputSystem.h"

#include <algorithm>

namespace {

constexpr uint32_t kKeyCodeLimit = 256;

bool Pressed(uint32_t data) { return (data & 0x80) != 0; }

}  // namespace

bool InputSystem::Init(bool useCursor, uint32_t keyboardFlags, uint32_t mouseFlags) {
    ReleaseDevices();
    if (!framework_.AddDeviceListener(this)) return false;
    framework_.AddMessageListener(this);
    window_ = framework_.RenderWindow();
    sys::GetInputDevices().SetCursor(true);
    int x = 0, y = 0;
    framework_.GetClientArea(x, y, screenWidth_, screenHeight_);
    useCursor_ = useCursor;
    if (!directInput_) directInput_ = &sys::GetInputDevices();
    if (!CreateDevice(keyboard_, sys::InputDeviceKind::Keyboard, keyboardFlags)) return false;
    if (!CreateDevice(mouse_, sys::InputDeviceKind::Mouse, mouseFlags)) return false;
    if (!sys::InputSucceeded(keyboard_->Acquire()) || !sys::InputSucceeded(mouse_->Acquire())) return false;
    framework_.AddMessageListener(this);
    return true;
}

bool InputSystem::CreateDevice(std::unique_ptr<sys::InputDevice>& device, sys::InputDeviceKind kind, uint32_t flags) {
    device = directInput_->CreateDevice(kind);
    return device && sys::InputSucceeded(device->SetCooperativeLevel(window_, flags)) &&
           sys::InputSucceeded(device->SetBufferSize(kBufferItems));
}

void InputSystem::ReleaseDevices() {
    UnacquireDevices();
    keyboard_.reset();
    mouse_.reset();
    directInput_ = nullptr;
    framework_.RemoveMessageListener(this);
    framework_.RemoveDeviceListener(this);
}

bool InputSystem::Poll(int64_t periodMs) {
    if (!pollTimer_.IntervalElapsed(periodMs)) return true;
    ReadMousePosition();
    if (!keyboard_ || !ReadState(*keyboard_, keyState_.data(), sys::kKeyboardStateBytes)) return false;
    pollTimer_.Reset();
    return true;
}

void InputSystem::ReadMousePosition() {
    previousX_ = mouseX_;
    previousY_ = mouseY_;
    if (framework_.IsWindowed() || useCursor_) {
        int x = 0, y = 0;
        if (sys::GetInputDevices().GetCursorPos(window_, x, y)) {
            mouseX_ = static_cast<float>(x);
            mouseY_ = static_cast<float>(y);
        }
    } else {
        mouseX_ += static_cast<float>(rawX_ - previousRawX_) / sensitivity_;
        mouseY_ += static_cast<float>(rawY_ - previousRawY_) / sensitivity_;
    }
    const bool read = mouse_ && ReadState(*mouse_, &mouseState_, sizeof mouseState_);
    mouseX_ = std::clamp(mouseX_, 0.0f, static_cast<float>(std::max(0, screenWidth_ - 1)));
    mouseY_ = std::clamp(mouseY_, 0.0f, static_cast<float>(std::max(0, screenHeight_ - 1)));
    if (!read) return;
    previousRawX_ = rawX_;
    previousRawY_ = rawY_;
    rawX_ = mouseState_.lX;
    rawY_ = mouseState_.lY;
}

// Lost input is acquired again and read once more; a second failure drops the read.
bool InputSystem::ReadState(sys::InputDevice& device, void* state, uint32_t size) {
    sys::InputResult result = device.GetDeviceState(state, size);
    if (result == sys::DIERR_INPUTLOST) {
        device.Acquire();
        result = device.GetDeviceState(state, size);
    }
    return sys::InputSucceeded(result);
}

uint32_t InputSystem::ReadItems(sys::InputDevice& device) {
    uint32_t count = kBufferItems;
    sys::InputResult result = device.GetDeviceData(items_.data(), count);
    if (result == sys::DIERR_INPUTLOST) {
        device.Acquire();
        count = kBufferItems;
        result = device.GetDeviceData(items_.data(), count);
    }
    return sys::InputSucceeded(result) ? std::min(count, kBufferItems) : 0;
}

void InputSystem::Dispatch() {
    if (keyboard_ && keyboard_->TakeSignal()) DispatchKeyboard(ReadItems(*keyboard_));
    else if (mouse_ && mouse_->TakeSignal()) DispatchMouse(ReadItems(*mouse_));
}

void InputSystem::DispatchKeyboard(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const sys::DIDEVICEOBJECTDATA& item = items_[i];
        if (item.dwOfs >= kKeyCodeLimit) break;
        const bool pressed = Pressed(item.dwData);
        keyState_[item.dwOfs] = pressed ? 0x80 : 0;
        Send(pressed ? kKeyPressed : kKeyReleased, item.dwOfs);
    }
}

void InputSystem::DispatchMouse(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const sys::DIDEVICEOBJECTDATA& item = items_[i];
        switch (item.dwOfs) {
            case sys::DIMOFS_X:
            case sys::DIMOFS_Y: Send(useCursor_ ? kMouseAxis : kMouseMoved); break;
            case sys::DIMOFS_BUTTON0:
                if (Pressed(item.dwData)) {
                    Send(kLeftButtonPressed);
                } else {
                    Send(kLeftButtonReleased);
                    CountRelease(leftClicks_, item.dwTimeStamp, kLeftDoubleClick);
                }
                break;
            case sys::DIMOFS_BUTTON1:
                if (Pressed(item.dwData)) {
                    Send(kRightButtonPressed);
                } else {
                    Send(kRightButtonReleased);
                    CountRelease(rightClicks_, item.dwTimeStamp, kRightDoubleClick);
                }
                break;
            default: break;  // the wheel and the other buttons
        }
    }
}

void InputSystem::CountRelease(ClickCounter& counter, uint32_t timeStamp, uint32_t doubleClickType) {
    if (counter.clicks == 0) {
        counter.clicks = 1;
        counter.firstTimeStamp = timeStamp;
        return;
    }
    if (timeStamp - counter.firstTimeStamp < kDoubleClickMs) {
        Send(doubleClickType);
        counter.clicks = 0;
    } else {
        counter.firstTimeStamp = timeStamp;
        counter.clicks = 1;
    }
}

void InputSystem::Send(uint32_t type, uint32_t parameter) {
    const InputEvent event{type,    mouseX_, mouseY_, previousX_, previousY_, mouseX_ - previousX_,
                           mouseY_ - previousY_, parameter};
    // By index: a listener may add another while it is called.
    for (size_t i = 0; i < listeners_.size(); ++i) listeners_[i]->OnInputEvent(event);
}

void InputSystem::OnMessage(sys::WindowHandle, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    switch (message) {
        case sys::WM_CHAR: Send(kCharacter, static_cast<uint32_t>(wParam)); break;
        case sys::WM_MOUSEMOVE:
            previousX_ = mouseX_;
            previousY_ = mouseY_;
            mouseX_ = static_cast<float>(sys::LowWord(static_cast<uint64_t>(lParam)));
            mouseY_ = static_cast<float>(sys::HighWord(static_cast<uint64_t>(lParam)));
            Send(kMouseMoved);
            break;
        case sys::WM_SETCURSOR: sys::GetInputDevices().SetCursor(framework_.IsWindowed() || useCursor_); break;
        case sys::WM_SETFOCUS:
            AcquireDevices();
            focus_ = true;
            Send(kFocusGained);
            break;
        case sys::WM_KILLFOCUS:
            focus_ = false;
            UnacquireDevices();
            break;
        default: break;
    }
}

// A reset may follow a change of the window's size: the pointer's box follows it.
bool InputSystem::OnDeviceReset() {
    int x = 0, y = 0;
    framework_.GetClientArea(x, y, screenWidth_, screenHeight_);
    return true;
}

void InputSystem::AcquireDevices() {
    if (keyboard_) keyboard_->Acquire();
    if (mouse_) mouse_->Acquire();
}

void InputSystem::UnacquireDevices() {
    if (keyboard_) keyboard_->Unacquire();
    if (mouse_) mouse_->Unacquire();
}

bool InputSystem::IsButtonDown(int virtualButton, int index) const {
    if (framework_.IsWindowed() || useCursor_) return sys::GetInputDevices().IsButtonDown(virtualButton);
    return Pressed(mouseState_.rgbButtons[index]);
}
