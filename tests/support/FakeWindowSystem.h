#pragma once
// A sys::WindowSystem without a display: windows are plain records, messages go through a
// queue the test can fill, timers fire on the next read once their time (on the test clock's
// NowMs) has come. Installed for the object's life.

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Timing.h"
#include "platform/sys/Window.h"

struct FakePaint {
    size_t bytes;
    int x, y;
};

class FakeWindow final : public sys::Window {
public:
    FakeWindow(const sys::WindowParams& params, sys::WindowProc procedure, std::vector<FakePaint>& paints)
        : params(params), procedure(procedure), paints(paints) {}
    sys::Rect GetClientRect() const override { return {0, 0, params.box.Width(), params.box.Height()}; }
    sys::Rect GetWindowRect() const override { return params.box; }
    uint32_t GetStyle() const override { return params.style; }
    void SetStyle(uint32_t style) override { params.style = style; }
    void SetPlacement(const sys::Rect& box) override { params.box = box; }
    void* NativeHandle() const override { return nullptr; }
    bool PaintBitmap(std::span<const uint8_t> bmp, int x, int y) override {
        paints.push_back({bmp.size(), x, y});
        return !bmp.empty();
    }

    sys::WindowParams params;
    sys::WindowProc procedure;
    std::vector<FakePaint>& paints;
};

class FakeWindowSystem final : public sys::WindowSystem {
public:
    FakeWindowSystem() { sys::SetWindowSystem(this); }
    ~FakeWindowSystem() override { sys::SetWindowSystem(nullptr); }

    uint16_t RegisterClass(const sys::WindowClass& c) override {
        if (classes.count(c.name)) return 0;
        classes[c.name] = c;
        return static_cast<uint16_t>(0xC000 + classes.size() - 1);
    }
    std::unique_ptr<sys::Window> CreateWindow(const sys::WindowParams& params) override {
        if (failCreate || !classes.count(params.className)) return nullptr;
        auto window = std::make_unique<FakeWindow>(params, classes[params.className].procedure, paints);
        created.push_back(window.get());
        return window;
    }
    bool GetForeignClientRect(uint64_t, sys::Rect& rect) override {
        rect = foreignClient;
        return true;
    }
    bool PeekMessage(sys::Message& message, sys::Window*) override {
        ++peeks;
        return Take(message);
    }
    int GetMessage(sys::Message& message, sys::Window*) override {
        ++gets;
        // Waiting is reading again; when nothing ever comes, behave as a closed queue.
        for (int tries = 0; tries < 1000; ++tries)
            if (Take(message)) return message.message == sys::WM_QUIT ? 0 : 1;
        message = {nullptr, sys::WM_QUIT, 0, 0};
        return 0;
    }
    void WaitMessage(sys::Window*, uint32_t) override { ++waits; }
    sys::LResult DispatchMessage(const sys::Message& m) override { return SendMessage(m.window, m.message, m.wParam, m.lParam); }
    sys::LResult SendMessage(sys::Window* window, uint32_t message, sys::WParam w, sys::LParam l) override {
        auto* fake = static_cast<FakeWindow*>(window);
        return fake && fake->procedure ? fake->procedure(window, message, w, l) : 0;
    }
    bool PostMessage(sys::Window* window, uint32_t message, sys::WParam w, sys::LParam l) override {
        queue.push_back({window, message, w, l});
        return true;
    }
    void PostQuitMessage(int code) override { queue.push_back({nullptr, sys::WM_QUIT, static_cast<sys::WParam>(code), 0}); }
    bool SetTimer(sys::Window* window, uint32_t id, uint32_t period) override {
        timers.push_back({window, id, NowMs() + period});
        return true;
    }
    bool KillTimer(sys::Window* window, uint32_t id) override {
        return std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; }) > 0;
    }
    int ShowCursor(bool show) override { return cursor += show ? 1 : -1; }
    void DestroyWindow(sys::Window* window) override {
        ++destroyed;
        SendMessage(window, sys::WM_DESTROY, 0, 0);
    }

    struct Timer {
        sys::Window* window;
        uint32_t id;
        int64_t due;
    };
    std::map<std::string, sys::WindowClass> classes;
    std::vector<FakeWindow*> created;
    std::deque<sys::Message> queue;
    std::vector<Timer> timers;
    std::vector<FakePaint> paints;  // of every window, also after it is freed
    sys::Rect foreignClient{0, 0, 152, 112};
    bool failCreate = false;
    int cursor = 0;
    int destroyed = 0;
    int peeks = 0;
    int gets = 0;
    int waits = 0;
    // Called once per read before the queue is looked at, so a test can act "later".
    std::function<void()> beforeRead;

private:
    bool Take(sys::Message& message) {
        if (beforeRead) beforeRead();
        if (!queue.empty()) {
            message = queue.front();
            queue.pop_front();
            return true;
        }
        for (const Timer& t : timers)
            if (NowMs() >= t.due) {
                message = {t.window, sys::WM_TIMER, t.id, 0};
                return true;
            }
        return false;
    }
};
