// The engine's windows are real Win32 windows: one native window procedure hands each message to
// the engine's procedure, then gives the system's default handling where the engine leaves it.
// The queue is the thread's own; the engine's messages keep the platform's numbers.

#include "platform/sys/Window.h"
#include "platform/sys/win32/HiddenWindows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// After our headers, whose names the system's macros would rename; the engine's calls keep theirs.
#include <windows.h>
#undef RegisterClass
#undef CreateWindow
#undef PeekMessage
#undef GetMessage
#undef DispatchMessage
#undef SendMessage
#undef PostMessage

namespace sys {
namespace {

bool g_hidden = false;

Rect FromNative(const ::RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

class Win32Window final : public Window {
public:
    explicit Win32Window(WindowProc procedure) : procedure_(procedure) {}
    ~Win32Window() override {
        // Freed without DestroyWindow: the window goes without its procedure hearing of it.
        if (!hwnd_) return;
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }

    Rect GetClientRect() const override {
        ::RECT r{};
        ::GetClientRect(hwnd_, &r);
        return FromNative(r);
    }
    Rect GetWindowRect() const override {
        ::RECT r{};
        ::GetWindowRect(hwnd_, &r);
        return FromNative(r);
    }
    uint32_t GetStyle() const override { return static_cast<uint32_t>(GetWindowLongA(hwnd_, GWL_STYLE)); }
    void SetStyle(uint32_t style) override {
        SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(style));
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    void SetPlacement(const Rect& box) override {
        // A screen-covering popup stays above the desktop's other windows.
        const bool topmost = (GetStyle() & (WS_POPUP | WS_CHILD)) == WS_POPUP;
        SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_TOP, box.left, box.top, std::max(1, box.Width()),
                     std::max(1, box.Height()), g_hidden ? SWP_NOACTIVATE : SWP_SHOWWINDOW);
    }
    void* NativeHandle() const override { return hwnd_; }

    bool PaintBitmap(std::span<const uint8_t> bmpFile, int x, int y) override {
        // A BMP file, or a packed bitmap as the executable's BITMAP resources hold it (the file
        // without its first header).
        size_t dib = 0, pixels = 0;
        BITMAPINFOHEADER info{};
        if (bmpFile.size() >= sizeof(BITMAPFILEHEADER) && bmpFile[0] == 'B' && bmpFile[1] == 'M') {
            BITMAPFILEHEADER file{};
            std::memcpy(&file, bmpFile.data(), sizeof file);
            dib = sizeof file;
            pixels = file.bfOffBits;
        }
        if (bmpFile.size() < dib + sizeof info) return false;
        std::memcpy(&info, bmpFile.data() + dib, sizeof info);
        if (info.biSize < sizeof info || info.biBitCount == 0) return false;
        if (pixels == 0) {
            const size_t colours = info.biClrUsed ? info.biClrUsed : info.biBitCount <= 8 ? size_t{1} << info.biBitCount : 0;
            pixels = dib + info.biSize + colours * sizeof(RGBQUAD) + (info.biCompression == BI_BITFIELDS ? 12 : 0);
        }
        const int64_t rows = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
        const int64_t stride = ((int64_t{info.biWidth} * info.biBitCount + 31) / 32) * 4;
        if (info.biWidth <= 0 || rows <= 0 || info.biCompression != BI_RGB || pixels >= bmpFile.size() ||
            stride * rows > static_cast<int64_t>(bmpFile.size() - pixels))
            return false;
        HDC dc = GetDC(hwnd_);
        if (!dc) return false;
        const int lines = SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(info.biWidth), static_cast<DWORD>(rows), 0, 0, 0,
                                            static_cast<UINT>(rows), bmpFile.data() + pixels,
                                            reinterpret_cast<const BITMAPINFO*>(bmpFile.data() + dib), DIB_RGB_COLORS);
        ReleaseDC(hwnd_, dc);
        return lines > 0;
    }

    HWND hwnd_ = nullptr;
    WindowProc procedure_;
};

Win32Window* FromHandle(HWND hwnd) { return reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

// What the system does with a message after the engine's procedure had it, given its answer.
LRESULT AfterEngine(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LResult answer) {
    switch (message) {
        case WM_CLOSE:
            // The engine ends the run and destroys the window itself.
            return 0;
        case WM_SYSCOMMAND:
            // A second screensaver must not start, and full screen keeps its size and power.
            if ((wParam & 0xFFF0) == SC_SCREENSAVE || answer != 0) return 0;
            break;
        case WM_NCHITTEST:
        case WM_POWERBROADCAST:
            if (answer != 0) return static_cast<LRESULT>(answer);
            break;
        case WM_PAINT:
            // The engine drew (or will draw with its next frame): nothing is left to paint.
            ValidateRect(hwnd, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the frame covers the window; erasing would only flicker
        default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK NativeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    Win32Window* window = FromHandle(hwnd);
    if (!window || !window->procedure_) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LResult answer = window->procedure_(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The native window is gone; the engine's object lives on until its owner frees it.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
        // Destroyed from outside (a preview's parent closed): a reader waiting on the queue
        // wakes to see that the run is over.
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    return AfterEngine(hwnd, message, wParam, lParam, answer);
}

class Win32WindowSystem final : public WindowSystem {
public:
    uint16_t RegisterClass(const WindowClass& windowClass) override {
        WNDCLASSEXA native{};
        native.cbSize = sizeof native;
        native.style = windowClass.style;
        native.lpfnWndProc = &NativeProcedure;
        native.hInstance = GetModuleHandleA(nullptr);
        native.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        native.lpszClassName = windowClass.name.c_str();
        const ATOM atom = RegisterClassExA(&native);
        if (atom != 0) classes_.push_back(windowClass);
        return atom;
    }

    std::unique_ptr<Window> CreateWindow(const WindowParams& params) override {
        const auto known = std::find_if(classes_.begin(), classes_.end(),
                                        [&](const WindowClass& c) { return c.name == params.className; });
        if (known == classes_.end()) return nullptr;
        const auto parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(params.parent));
        // The parent belongs to another program, which may have closed it already.
        if (parent && !IsWindow(parent)) return nullptr;
        auto window = std::make_unique<Win32Window>(known->procedure);
        // Telling another program's window of our birth would wait on that program.
        const HWND hwnd = CreateWindowExA(parent ? WS_EX_NOPARENTNOTIFY : 0, params.className.c_str(), params.title.c_str(),
                                          g_hidden ? params.style & ~WS_VISIBLE : params.style, params.box.left, params.box.top, std::max(1, params.box.Width()), std::max(1, params.box.Height()),
                                          parent, nullptr, GetModuleHandleA(nullptr), window.get());
        if (!hwnd) return nullptr;
        if (parent) adopted_.push_back({hwnd, parent});
        return window;
    }

    bool GetForeignClientRect(uint64_t nativeId, Rect& rect) override {
        const auto hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(nativeId));
        ::RECT r{};
        if (!IsWindow(hwnd) || !::GetClientRect(hwnd, &r)) return false;
        rect = FromNative(r);
        return true;
    }

    bool PeekMessage(Message& message, Window* filter) override {
        MSG native{};
        while (PeekMessageA(&native, nullptr, 0, 0, PM_REMOVE))
            if (Deliverable(native, filter, message)) return true;
        return false;
    }

    int GetMessage(Message& message, Window* filter) override {
        for (;;) {
            MSG native{};
            if (!PeekMessageA(&native, nullptr, 0, 0, PM_REMOVE)) {
                LetOrphansGo();
                MsgWaitForMultipleObjectsEx(0, nullptr, kOrphanCheckMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
                continue;
            }
            if (native.message == WM_QUIT) {
                message = {filter, WM_QUIT, static_cast<WParam>(native.wParam), 0};
                return 0;
            }
            if (Deliverable(native, filter, message)) return 1;
        }
    }

    void WaitMessage(Window*, uint32_t timeoutMs) override {
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }

    LResult DispatchMessage(const Message& message) override {
        // A message taken from the queue goes through the system, which gives keys their
        // characters and timers their calls; one made up by the caller goes straight in.
        if (held_.message == message.message && held_.wParam == message.wParam && held_.lParam == message.lParam &&
            HandleOf(message.window) == held_.hwnd) {
            const MSG native = held_;
            held_ = {};
            TranslateMessage(&native);
            return DispatchMessageA(&native);
        }
        return SendMessage(message.window, message.message, message.wParam, message.lParam);
    }

    LResult SendMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) override {
        const HWND hwnd = HandleOf(window);
        if (!hwnd) return 0;
        return SendMessageA(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    }

    bool PostMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) override {
        const HWND hwnd = HandleOf(window);
        if (window && !hwnd) return false;
        return PostMessageA(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != 0;
    }

    void PostQuitMessage(int exitCode) override { ::PostQuitMessage(exitCode); }

    bool SetTimer(Window* window, uint32_t id, uint32_t periodMs) override {
        const HWND hwnd = HandleOf(window);
        return hwnd && ::SetTimer(hwnd, id, periodMs, nullptr) != 0;
    }

    bool KillTimer(Window* window, uint32_t id) override {
        const HWND hwnd = HandleOf(window);
        return hwnd && ::KillTimer(hwnd, id) != 0;
    }

    int ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }

    void DestroyWindow(Window* window) override {
        const HWND hwnd = HandleOf(window);
        if (hwnd) ::DestroyWindow(hwnd);
    }

private:
    static constexpr DWORD kOrphanCheckMs = 250;

    // A window inside another program's (a preview's) ends with it. The system does not always
    // tell a child in another process that its parent went, so the parents are checked while
    // the queue is idle.
    void LetOrphansGo() {
        std::erase_if(adopted_, [](const Adopted& a) {
            if (!IsWindow(a.child)) return true;
            if (IsWindow(a.parent)) return false;
            ::DestroyWindow(a.child);
            return true;
        });
    }

    static HWND HandleOf(Window* window) { return window ? static_cast<Win32Window*>(window)->hwnd_ : nullptr; }

    // Turns a queued message into the engine's. Messages of windows that are not the engine's
    // (the graphics runtime's own, say) are handled here and skipped; so are those of another
    // of our windows while a caller reads one, which its procedure gets all the same. The quit
    // message belongs to the thread, so every reader sees it.
    bool Deliverable(const MSG& native, Window* filter, Message& message) {
        Win32Window* window = native.hwnd ? FromHandle(native.hwnd) : nullptr;
        if (native.message == WM_QUIT || (!native.hwnd && native.message == WM_NULL)) {
            message = {filter, native.message, static_cast<WParam>(native.wParam), 0};
            return true;
        }
        if (!window || (filter && window != filter)) {
            TranslateMessage(&native);
            DispatchMessageA(&native);
            return false;
        }
        held_ = native;
        message = {window, native.message, static_cast<WParam>(native.wParam), static_cast<LParam>(native.lParam)};
        return true;
    }

    struct Adopted {
        HWND child, parent;
    };
    std::vector<WindowClass> classes_;
    std::vector<Adopted> adopted_;
    MSG held_{};  // the last message handed out, for DispatchMessage
};

}  // namespace

void KeepWindowsHidden(bool hidden) { g_hidden = hidden; }

WindowSystem& PlatformWindowSystem() {
    // Never destroyed: windows of objects of static storage are freed after function statics.
    static Win32WindowSystem& windows = *new Win32WindowSystem;
    return windows;
}

}  // namespace sys
