// Keyboard and mouse on DirectInput 8 itself: the engine's calls, result codes and data offsets
// are the library's, so they pass straight through.

#include <array>

#include "platform/sys/InputDevices.h"

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

namespace sys {
namespace {

HWND HandleOf(Window* window) { return window ? static_cast<HWND>(window->NativeHandle()) : nullptr; }

class DirectInputDevice final : public InputDevice {
public:
    DirectInputDevice(IDirectInputDevice8A* device, HANDLE signal) : device_(device), signal_(signal) {}
    ~DirectInputDevice() override {
        device_->Unacquire();
        device_->SetEventNotification(nullptr);
        device_->Release();
        CloseHandle(signal_);
    }

    InputResult SetCooperativeLevel(Window* window, uint32_t flags) override {
        return device_->SetCooperativeLevel(HandleOf(window), flags);
    }
    InputResult SetBufferSize(uint32_t items) override {
        DIPROPDWORD size{};
        size.diph.dwSize = sizeof size;
        size.diph.dwHeaderSize = sizeof size.diph;
        size.diph.dwHow = DIPH_DEVICE;
        size.dwData = items;
        return device_->SetProperty(DIPROP_BUFFERSIZE, &size.diph);
    }
    InputResult Acquire() override { return device_->Acquire(); }
    InputResult Unacquire() override { return device_->Unacquire(); }
    InputResult GetDeviceState(void* state, uint32_t size) override { return device_->GetDeviceState(size, state); }

    InputResult GetDeviceData(DIDEVICEOBJECTDATA* items, uint32_t& count) override {
        // The library's items carry a pointer-sized field more than the engine's.
        std::array<::DIDEVICEOBJECTDATA, 64> native{};
        uint32_t taken = 0;
        InputResult result = DI_OK;
        while (taken < count) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(native.size(), count - taken));
            const InputResult got = device_->GetDeviceData(sizeof(::DIDEVICEOBJECTDATA), native.data(), &chunk, 0);
            if (!InputSucceeded(got)) {
                if (taken == 0) result = got;
                break;
            }
            if (got == DI_BUFFEROVERFLOW) result = DI_BUFFEROVERFLOW;
            for (DWORD i = 0; i < chunk; ++i)
                items[taken + i] = {native[i].dwOfs, native[i].dwData, native[i].dwTimeStamp, native[i].dwSequence};
            taken += chunk;
            if (chunk == 0) break;
        }
        count = taken;
        return result;
    }

    bool TakeSignal() override { return WaitForSingleObject(signal_, 0) == WAIT_OBJECT_0; }

private:
    IDirectInputDevice8A* device_;
    HANDLE signal_;
};

class DirectInputDevices final : public InputDevices {
public:
    ~DirectInputDevices() override {
        if (input_) input_->Release();
    }

    std::unique_ptr<InputDevice> CreateDevice(InputDeviceKind kind) override {
        if (!Library()) return nullptr;
        const bool keyboard = kind == InputDeviceKind::Keyboard;
        IDirectInputDevice8A* device = nullptr;
        if (FAILED(input_->CreateDevice(keyboard ? GUID_SysKeyboard : GUID_SysMouse, &device, nullptr))) return nullptr;
        bool ok = SUCCEEDED(device->SetDataFormat(keyboard ? &c_dfDIKeyboard : &c_dfDIMouse));
        if (ok && !keyboard) {
            // The engine reads the mouse's position, not its motion.
            DIPROPDWORD mode{};
            mode.diph.dwSize = sizeof mode;
            mode.diph.dwHeaderSize = sizeof mode.diph;
            mode.diph.dwHow = DIPH_DEVICE;
            mode.dwData = DIPROPAXISMODE_ABS;
            ok = SUCCEEDED(device->SetProperty(DIPROP_AXISMODE, &mode.diph));
        }
        HANDLE signal = ok ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : nullptr;  // auto-reset
        if (!signal || FAILED(device->SetEventNotification(signal))) {
            if (signal) CloseHandle(signal);
            device->Release();
            return nullptr;
        }
        return std::make_unique<DirectInputDevice>(device, signal);
    }

    bool GetCursorPos(Window* window, int& x, int& y) override {
        POINT at{};
        if (!::GetCursorPos(&at)) return false;
        if (HWND hwnd = HandleOf(window)) ScreenToClient(hwnd, &at);
        x = at.x;
        y = at.y;
        return true;
    }

    bool IsButtonDown(int virtualButton) override { return (GetAsyncKeyState(virtualButton) & 0x8000) != 0; }

    void SetCursor(bool arrow) override { ::SetCursor(arrow ? LoadCursorA(nullptr, IDC_ARROW) : nullptr); }

private:
    // Made on first use: a program that never reads input never loads the library.
    bool Library() {
        if (!input_)
            DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                               reinterpret_cast<void**>(&input_), nullptr);
        return input_ != nullptr;
    }

    IDirectInput8A* input_ = nullptr;
};

}  // namespace

InputDevices& PlatformInputDevices() {
    static DirectInputDevices& devices = *new DirectInputDevices;
    return devices;
}

}  // namespace sys
