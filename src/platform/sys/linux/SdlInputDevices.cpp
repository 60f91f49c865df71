#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sys/InputDevices.h"
#include "platform/sys/linux/SdlDirectInputKeys.h"

namespace sys {
namespace {

constexpr int32_t kWheelDelta = 120;  // one notch, in the platform's wheel units

class SdlInputDevices;

// A keyboard or mouse fed from SDL's events while it is acquired. Foreground devices lose their
// acquisition when their window loses the focus and cannot get it back until the focus returns.
class SdlInputDevice final : public InputDevice {
public:
    SdlInputDevice(InputDeviceKind kind, SdlInputDevices& owner);
    ~SdlInputDevice() override;

    InputResult SetCooperativeLevel(Window* window, uint32_t flags) override {
        if (!window || !window->NativeHandle()) return DIERR_INVALIDPARAM;
        windowId_ = SDL_GetWindowID(static_cast<SDL_Window*>(window->NativeHandle()));
        foreground_ = (flags & DISCL_FOREGROUND) != 0;
        return DI_OK;
    }

    InputResult SetBufferSize(uint32_t items) override {
        buffer_.assign(items, {});
        head_ = count_ = 0;
        overflow_ = false;
        return DI_OK;
    }

    InputResult Acquire() override {
        if (foreground_ && focusLost_) return DIERR_OTHERAPPHASPRIO;
        acquired_ = true;
        lost_ = false;
        return DI_OK;
    }

    InputResult Unacquire() override {
        acquired_ = false;
        return DI_OK;
    }

    InputResult GetDeviceState(void* state, uint32_t size) override {
        if (const InputResult status = ReadStatus(); status != DI_OK) return status;
        if (kind_ == InputDeviceKind::Mouse) {
            if (size != sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
            std::memcpy(state, &mouse_, sizeof mouse_);
            return DI_OK;
        }
        if (size != kKeyboardStateBytes) return DIERR_INVALIDPARAM;
        auto* bytes = static_cast<uint8_t*>(state);
        std::memset(bytes, 0, size);
        int keys = 0;
        const Uint8* pressed = SDL_GetKeyboardState(&keys);
        for (int scancode = 0; scancode < keys; ++scancode) {
            const uint32_t key = DirectInputKeyFromScancode(static_cast<SDL_Scancode>(scancode));
            if (key && pressed[scancode]) bytes[key] = 0x80;
        }
        return DI_OK;
    }

    InputResult GetDeviceData(DIDEVICEOBJECTDATA* items, uint32_t& count) override {
        if (const InputResult status = ReadStatus(); status != DI_OK) {
            count = 0;
            return status;
        }
        uint32_t taken = 0;
        for (; taken < count && count_ > 0; ++taken) {
            items[taken] = buffer_[head_];
            head_ = (head_ + 1) % buffer_.size();
            --count_;
        }
        count = taken;
        const bool lostSome = overflow_;
        overflow_ = false;
        return lostSome ? DI_BUFFEROVERFLOW : DI_OK;
    }

    bool TakeSignal() override {
        const bool signalled = signalled_;
        signalled_ = false;
        return signalled;
    }

    void OnEvent(const SDL_Event& event) {
        if (event.type == SDL_WINDOWEVENT) {
            OnWindowEvent(event.window);
            return;
        }
        if (!acquired_) return;
        if (kind_ == InputDeviceKind::Keyboard) OnKeyboardEvent(event);
        else OnMouseEvent(event);
    }

private:
    InputResult ReadStatus() const {
        if (lost_) return DIERR_INPUTLOST;
        return acquired_ ? DI_OK : DIERR_NOTACQUIRED;
    }

    void OnWindowEvent(const SDL_WindowEvent& event) {
        if (event.windowID != windowId_) return;
        if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED) focusLost_ = false;
        if (event.event != SDL_WINDOWEVENT_FOCUS_LOST) return;
        focusLost_ = true;
        if (foreground_ && acquired_) {
            acquired_ = false;
            lost_ = true;
        }
    }

    void OnKeyboardEvent(const SDL_Event& event) {
        if ((event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) || event.key.repeat) return;
        const uint32_t key = DirectInputKeyFromScancode(event.key.keysym.scancode);
        if (key) Push(key, event.type == SDL_KEYDOWN ? 0x80 : 0, event.key.timestamp);
    }

    void OnMouseEvent(const SDL_Event& event) {
        switch (event.type) {
            case SDL_MOUSEMOTION:
                if (event.motion.xrel) {
                    mouse_.lX += event.motion.xrel;
                    Push(DIMOFS_X, static_cast<uint32_t>(mouse_.lX), event.motion.timestamp);
                }
                if (event.motion.yrel) {
                    mouse_.lY += event.motion.yrel;
                    Push(DIMOFS_Y, static_cast<uint32_t>(mouse_.lY), event.motion.timestamp);
                }
                break;
            case SDL_MOUSEWHEEL: {
                const int32_t notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
                if (!notches) break;
                mouse_.lZ += notches * kWheelDelta;
                Push(DIMOFS_Z, static_cast<uint32_t>(mouse_.lZ), event.wheel.timestamp);
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const uint32_t offset = ButtonOffset(event.button.button);
                if (!offset) break;
                const uint8_t value = event.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
                mouse_.rgbButtons[offset - DIMOFS_BUTTON0] = value;
                Push(offset, value, event.button.timestamp);
                break;
            }
            default: break;
        }
    }

    static uint32_t ButtonOffset(uint8_t button) {
        switch (button) {
            case SDL_BUTTON_LEFT: return DIMOFS_BUTTON0;
            case SDL_BUTTON_RIGHT: return DIMOFS_BUTTON1;
            case SDL_BUTTON_MIDDLE: return DIMOFS_BUTTON2;
            case SDL_BUTTON_X1: return DIMOFS_BUTTON3;
            default: return 0;
        }
    }

    // A full buffer keeps its oldest items and drops the new one, as the platform's does.
    void Push(uint32_t offset, uint32_t data, uint32_t timeStamp) {
        signalled_ = true;
        if (count_ == buffer_.size()) {
            overflow_ = true;
            return;
        }
        buffer_[(head_ + count_) % buffer_.size()] = {offset, data, timeStamp, ++sequence_};
        ++count_;
    }

    InputDeviceKind kind_;
    SdlInputDevices& owner_;
    uint32_t windowId_ = 0;
    bool foreground_ = false;
    bool focusLost_ = false;
    bool acquired_ = false;
    bool lost_ = false;
    bool signalled_ = false;
    bool overflow_ = false;
    std::vector<DIDEVICEOBJECTDATA> buffer_;
    size_t head_ = 0;
    size_t count_ = 0;
    uint32_t sequence_ = 0;
    DIMOUSESTATE mouse_;
};

class SdlInputDevices final : public InputDevices {
public:
    std::unique_ptr<InputDevice> CreateDevice(InputDeviceKind kind) override {
        // Input comes with the window system's events; without them there is nothing to read.
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
        return std::make_unique<SdlInputDevice>(kind, *this);
    }

    bool GetCursorPos(Window* window, int& x, int& y) override {
        if (!window || !window->NativeHandle() || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
        auto* sdlWindow = static_cast<SDL_Window*>(window->NativeHandle());
        if (SDL_GetMouseFocus() == sdlWindow) {
            SDL_GetMouseState(&x, &y);
            return true;
        }
        int left = 0, top = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(sdlWindow, &left, &top);
        x -= left;
        y -= top;
        return true;
    }

    bool IsButtonDown(int virtualButton) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        const Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
        if (virtualButton == VK_LBUTTON) return (buttons & SDL_BUTTON_LMASK) != 0;
        if (virtualButton == VK_RBUTTON) return (buttons & SDL_BUTTON_RMASK) != 0;
        return false;
    }

    void SetCursor(bool arrow) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        if (arrow) {
            SDL_SetCursor(SDL_GetDefaultCursor());
            return;
        }
        // SDL frees its cursors when its video part ends, which this program never does early.
        static const Uint8 kEmpty[1] = {0};
        if (!blank_) blank_ = SDL_CreateCursor(kEmpty, kEmpty, 8, 1, 0, 0);
        if (blank_) SDL_SetCursor(blank_);
    }

    void Add(SdlInputDevice* device) {
        if (devices_.empty()) SDL_AddEventWatch(&SdlInputDevices::Watch, this);
        devices_.push_back(device);
    }

    void Remove(SdlInputDevice* device) {
        std::erase(devices_, device);
        if (devices_.empty()) SDL_DelEventWatch(&SdlInputDevices::Watch, this);
    }

private:
    // Called for every event as SDL queues it, on the thread that pumps the events.
    static int Watch(void* self, SDL_Event* event) {
        for (SdlInputDevice* device : static_cast<SdlInputDevices*>(self)->devices_) device->OnEvent(*event);
        return 0;
    }

    std::vector<SdlInputDevice*> devices_;
    SDL_Cursor* blank_ = nullptr;
};

SdlInputDevice::SdlInputDevice(InputDeviceKind kind, SdlInputDevices& owner) : kind_(kind), owner_(owner) {
    owner_.Add(this);
}

SdlInputDevice::~SdlInputDevice() { owner_.Remove(this); }

}  // namespace

InputDevices& PlatformInputDevices() {
    static SdlInputDevices devices;
    return devices;
}

}  // namespace sys
