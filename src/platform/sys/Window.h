#pragma once
// Windows and their message queue with the platform's model: classes with a window procedure,
// windows made from a class, a per-thread queue read with PeekMessage/GetMessage, posted
// messages and timers. The Linux layer turns its events into these messages.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/sys/Messages.h"

namespace sys {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct WindowClass {
    std::string name;
    uint32_t style = 0;
    WindowProc procedure = nullptr;
};

struct WindowParams {
    std::string className;
    std::string title;
    uint32_t style = 0;
    Rect box;             // outer position and size
    uint64_t parent = 0;  // a native window id (X11) to live inside, or 0
};

class Window {
public:
    virtual ~Window() = default;
    virtual Rect GetClientRect() const = 0;  // (0, 0) to the client size
    virtual Rect GetWindowRect() const = 0;  // screen position and outer size
    virtual uint32_t GetStyle() const = 0;
    virtual void SetStyle(uint32_t style) = 0;
    // Moves and sizes the window to `box` and shows it.
    virtual void SetPlacement(const Rect& box) = 0;
    // The toolkit's own window object, for the graphics device.
    virtual void* NativeHandle() const = 0;
    // Paints a BMP file unscaled with its top-left corner at (x, y).
    virtual bool PaintBitmap(std::span<const uint8_t> bmpFile, int x, int y) = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The class atom, or 0 on failure. Registering a known name again fails, as on the platform.
    virtual uint16_t RegisterClass(const WindowClass& windowClass) = 0;
    virtual std::unique_ptr<Window> CreateWindow(const WindowParams& params) = 0;
    // The client rectangle of a native window that is not ours (a preview's parent).
    virtual bool GetForeignClientRect(uint64_t nativeId, Rect& rect) = 0;
    // Takes the next message for `filter` (all windows when null) without waiting.
    virtual bool PeekMessage(Message& message, Window* filter) = 0;
    // Waits for the next message: >0 a message, 0 the quit message, -1 an error.
    virtual int GetMessage(Message& message, Window* filter) = 0;
    // Sleeps until a message for `filter` (all windows when null) is queued, a timer is due, or
    // `timeoutMs` has passed; takes nothing from the queue.
    virtual void WaitMessage(Window* filter, uint32_t timeoutMs) = 0;
    virtual LResult DispatchMessage(const Message& message) = 0;
    // Calls the window's procedure at once.
    virtual LResult SendMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) = 0;
    virtual bool PostMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual bool SetTimer(Window* window, uint32_t id, uint32_t periodMs) = 0;
    virtual bool KillTimer(Window* window, uint32_t id) = 0;
    // The display counter of the mouse cursor: shown while it is 0 or more. Returns the new count.
    virtual int ShowCursor(bool show) = 0;
    // Sends WM_DESTROY to the window's procedure; the caller then frees the window.
    virtual void DestroyWindow(Window* window) = 0;
};

WindowSystem& GetWindowSystem();
void SetWindowSystem(WindowSystem* windows);  // null restores the platform's

}  // namespace sys
