#pragma once
// A sys::InputDevices without hardware: devices whose buffers, state and signals a test fills,
// and a pointer the test places. Installed for the object's life.

#include <array>
#include <cstring>
#include <deque>
#include <memory>

#include "platform/sys/InputDevices.h"

class FakeInputDevice final : public sys::InputDevice {
public:
    explicit FakeInputDevice(FakeInputDevice** slot) : slot_(slot) { *slot_ = this; }
    ~FakeInputDevice() override { *slot_ = nullptr; }

    sys::InputResult SetCooperativeLevel(sys::Window* w, uint32_t f) override {
        window = w;
        flags = f;
        return sys::DI_OK;
    }
    sys::InputResult SetBufferSize(uint32_t items) override {
        capacity = items;
        return sys::DI_OK;
    }
    sys::InputResult Acquire() override {
        ++acquires;
        if (denyAcquire) return sys::DIERR_OTHERAPPHASPRIO;
        acquired = true;
        lost = false;
        return sys::DI_OK;
    }
    sys::InputResult Unacquire() override {
        acquired = false;
        return sys::DI_OK;
    }
    sys::InputResult GetDeviceState(void* out, uint32_t size) override {
        if (const sys::InputResult status = Status(); status != sys::DI_OK) return status;
        if (size == sizeof mouse) std::memcpy(out, &mouse, size);
        else std::memcpy(out, keys.data(), std::min<size_t>(size, keys.size()));
        return sys::DI_OK;
    }
    sys::InputResult GetDeviceData(sys::DIDEVICEOBJECTDATA* out, uint32_t& count) override {
        ++dataReads;
        if (const sys::InputResult status = Status(); status != sys::DI_OK) {
            count = 0;
            return status;
        }
        uint32_t taken = 0;
        while (taken < count && !items.empty()) {
            out[taken++] = items.front();
            items.pop_front();
        }
        count = taken;
        return sys::DI_OK;
    }
    bool TakeSignal() override {
        const bool was = signalled;
        signalled = false;
        return was;
    }

    // Data arriving: kept while there is room in the buffer, signalled either way.
    void Push(uint32_t offset, uint32_t data, uint32_t timeStamp = 0) {
        signalled = true;
        if (items.size() < capacity) items.push_back({offset, data, timeStamp, 0});
    }
    // The input is lost: reads fail until the device is acquired again.
    void Lose() {
        lost = true;
        acquired = false;
    }

    sys::Window* window = nullptr;
    uint32_t flags = 0;
    uint32_t capacity = 0;
    bool acquired = false;
    bool lost = false;
    bool denyAcquire = false;
    bool signalled = false;
    int acquires = 0;
    int dataReads = 0;
    std::deque<sys::DIDEVICEOBJECTDATA> items;
    std::array<uint8_t, sys::kKeyboardStateBytes> keys{};
    sys::DIMOUSESTATE mouse;

private:
    sys::InputResult Status() const {
        if (lost) return sys::DIERR_INPUTLOST;
        return acquired ? sys::DI_OK : sys::DIERR_NOTACQUIRED;
    }
    FakeInputDevice** slot_;
};

class FakeInputDevices final : public sys::InputDevices {
public:
    FakeInputDevices() { sys::SetInputDevices(this); }
    ~FakeInputDevices() override { sys::SetInputDevices(nullptr); }

    std::unique_ptr<sys::InputDevice> CreateDevice(sys::InputDeviceKind kind) override {
        if (failCreate) return nullptr;
        return std::make_unique<FakeInputDevice>(kind == sys::InputDeviceKind::Keyboard ? &keyboard : &mouse);
    }
    bool GetCursorPos(sys::Window*, int& x, int& y) override {
        x = cursorX;
        y = cursorY;
        return true;
    }
    bool IsButtonDown(int button) override { return button == sys::VK_LBUTTON ? leftDown : rightDown; }
    void SetCursor(bool arrow) override { cursor = arrow ? Cursor::Arrow : Cursor::None; }

    enum class Cursor { Unset, Arrow, None };
    FakeInputDevice* keyboard = nullptr;  // the live devices the input system holds
    FakeInputDevice* mouse = nullptr;
    bool failCreate = false;
    int cursorX = 0, cursorY = 0;
    bool leftDown = false, rightDown = false;
    Cursor cursor = Cursor::Unset;
};
