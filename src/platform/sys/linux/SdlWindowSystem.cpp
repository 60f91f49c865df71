#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/sys/ExitSignals.h"
#include "platform/sys/Window.h"
#include "platform/sys/linux/SdlVirtualKeys.h"

namespace sys {
namespace {

int64_t Now() { return static_cast<int64_t>(SDL_GetTicks64()); }

bool EnsureVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // SDL drops a click that gives the window the focus; for a saver that click is an answer.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Bitmaps are painted with plain image transfers, which touch only the painted area; an
    // accelerated window surface would present the whole window.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// Windows of other programs that we draw in (a preview's parent, a host's window). Their owner
// may destroy them at any moment, even while SDL adopts them; the calls that still name them then
// fail harmlessly instead of ending the program through Xlib's default error handler, and the
// program ends through its own steps.
struct ForeignWindows {
    std::vector<::Window> ids;
    std::vector<::Window> gone;
    XErrorHandler previous = nullptr;

    bool Known(::Window id) const { return std::find(ids.begin(), ids.end(), id) != ids.end(); }
    bool Gone(::Window id) const { return std::find(gone.begin(), gone.end(), id) != gone.end(); }
    void MarkGone(::Window id) {
        if (!Gone(id)) gone.push_back(id);
    }
};

ForeignWindows& Foreign() {
    static ForeignWindows foreign;
    return foreign;
}

int OnXError(Display* display, XErrorEvent* error) {
    ForeignWindows& foreign = Foreign();
    if (foreign.Known(error->resourceid)) foreign.MarkGone(error->resourceid);
    // Once a window we draw in is gone, the requests still in flight for it fail in turn.
    if (!foreign.gone.empty()) return 0;
    return foreign.previous ? foreign.previous(display, error) : 0;
}

// From now on the errors about `id` are ours to hear: before SDL adopts it, which reads it in
// many requests.
void GuardForeignWindow(::Window id) {
    ForeignWindows& foreign = Foreign();
    if (foreign.ids.empty()) foreign.previous = XSetErrorHandler(&OnXError);
    if (!foreign.Known(id)) foreign.ids.push_back(id);
    std::erase(foreign.gone, id);
}

// A foreign window's attributes, read on a connection of our own; false when the window is gone.
// Its owner may destroy it at any moment, and that error must not end the program.
bool ReadForeignAttributes(::Window id, XWindowAttributes& attributes) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const bool ok = XGetWindowAttributes(display, id, &attributes) != 0;
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return ok;
}

// Hears about the foreign window's size, exposure and end on SDL's own connection. False when
// the window went while SDL adopted it: what SDL read of it then is not to be trusted.
bool WatchForeignWindow(SDL_Window* window, ::Window id) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return !Foreign().Gone(id);
    Display* display = info.info.x11.display;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, id, &attributes))
        XSelectInput(display, id, attributes.your_event_mask | ExposureMask | StructureNotifyMask);
    // The answers to everything SDL asked have come back.
    XSync(display, False);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return !Foreign().Gone(id);
}

class SdlWindow final : public Window {
public:
    using ForgetFn = void (*)(void* owner, Window* window);
    SdlWindow(SDL_Window* window, uint32_t style, WindowProc procedure, ForgetFn forget, void* owner)
        : window_(window), style_(style), procedure_(procedure), forget_(forget), owner_(owner) {}
    ~SdlWindow() override {
        forget_(owner_, this);
        SDL_DestroyWindow(window_);
    }

    Rect GetClientRect() const override {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        return {0, 0, w, h};
    }
    Rect GetWindowRect() const override {
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        SDL_GetWindowSize(window_, &w, &h);
        return {x, y, x + w, y + h};
    }
    uint32_t GetStyle() const override { return style_; }
    void SetStyle(uint32_t style) override { style_ = style; }
    void SetPlacement(const Rect& box) override {
        SDL_SetWindowPosition(window_, box.left, box.top);
        SDL_SetWindowSize(window_, std::max(1, box.Width()), std::max(1, box.Height()));
        SDL_ShowWindow(window_);
    }
    void* NativeHandle() const override { return window_; }

    bool PaintBitmap(std::span<const uint8_t> bmpFile, int x, int y) override {
        if (bmpFile.empty()) return false;
        SDL_RWops* rw = SDL_RWFromConstMem(bmpFile.data(), static_cast<int>(bmpFile.size()));
        SDL_Surface* bitmap = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
        SDL_Surface* target = bitmap ? SDL_GetWindowSurface(window_) : nullptr;
        bool ok = false;
        if (target) {
            SDL_Rect at{x, y, bitmap->w, bitmap->h};
            // Only the bitmap's own pixels reach the screen; the rest of the window stays as it is.
            ok = SDL_BlitSurface(bitmap, nullptr, target, &at) == 0 && SDL_UpdateWindowSurfaceRects(window_, &at, 1) == 0;
        }
        SDL_FreeSurface(bitmap);
        return ok;
    }

    SDL_Window* sdl() const { return window_; }
    uint32_t id() const { return SDL_GetWindowID(window_); }
    WindowProc procedure() const { return procedure_; }

private:
    SDL_Window* window_;
    uint32_t style_;
    WindowProc procedure_;
    ForgetFn forget_;
    void* owner_;
};

struct Timer {
    Window* window;
    uint32_t id;
    uint32_t period;
    int64_t due;
};

class SdlWindowSystem final : public WindowSystem {
public:
    uint16_t RegisterClass(const WindowClass& windowClass) override {
        for (const WindowClass& known : classes_)
            if (known.name == windowClass.name) return 0;
        classes_.push_back(windowClass);
        // Atoms of registered classes start at 0xC000 on the platform.
        return static_cast<uint16_t>(0xC000 + classes_.size() - 1);
    }

    std::unique_ptr<Window> CreateWindow(const WindowParams& params) override {
        const WindowClass* windowClass = FindClass(params.className);
        if (!windowClass || !EnsureVideo()) return nullptr;
        SDL_Window* window = nullptr;
        if (params.parent != 0) {
            // Inside a foreign window (a preview or a host's window): SDL adopts it for drawing.
            SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
            // SDL would go on with the attributes of a window that is gone, and crash.
            const auto id = static_cast<::Window>(params.parent);
            XWindowAttributes attributes{};
            if (!ReadForeignAttributes(id, attributes)) return nullptr;
            GuardForeignWindow(id);
            window = SDL_CreateWindowFrom(reinterpret_cast<void*>(static_cast<uintptr_t>(params.parent)));
            if (window && !WatchForeignWindow(window, id)) {
                SDL_DestroyWindow(window);
                window = nullptr;
            }
        } else {
            Uint32 flags = SDL_WINDOW_OPENGL;
            if (params.style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
            if (params.style & WS_OVERLAPPEDWINDOW) flags |= SDL_WINDOW_RESIZABLE;
            flags |= (params.style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
            window = SDL_CreateWindow(params.title.c_str(), params.box.left, params.box.top,
                                      std::max(1, params.box.Width()), std::max(1, params.box.Height()), flags);
        }
        if (!window) return nullptr;
        auto result = std::make_unique<SdlWindow>(window, params.style, windowClass->procedure, &SdlWindowSystem::Forget, this);
        windows_.push_back(result.get());
        // A foreign window is already on the screen and will not be exposed again: paint it now.
        if (params.parent != 0) Post(result.get(), WM_PAINT);
        return result;
    }

    bool GetForeignClientRect(uint64_t nativeId, Rect& rect) override {
        XWindowAttributes attributes{};
        const bool ok = ReadForeignAttributes(static_cast<::Window>(nativeId), attributes);
        if (ok) rect = {0, 0, attributes.width, attributes.height};
        return ok;
    }

    bool PeekMessage(Message& message, Window* filter) override {
        PumpEvents();
        return Take(message, filter);
    }

    int GetMessage(Message& message, Window* filter) override {
        for (;;) {
            PumpEvents();
            if (Take(message, filter)) return message.message == WM_QUIT ? 0 : 1;
            if (!EnsureVideo()) return -1;
            // Sleep until an event arrives or the next timer is due: no spinning while idle.
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, WaitBudgetMs())) Translate(event);
        }
    }

    void WaitMessage(Window* filter, uint32_t timeoutMs) override {
        PumpEvents();
        for (const Message& queued : queue_)
            if (!filter || queued.window == filter || queued.message == WM_QUIT) return;
        const int budget = std::min(static_cast<int>(std::min<uint32_t>(timeoutMs, INT32_MAX)), WaitBudgetMs());
        SDL_Event event;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_Delay(static_cast<Uint32>(budget));
        } else if (SDL_WaitEventTimeout(&event, budget)) {
            Translate(event);
        }
    }

    LResult DispatchMessage(const Message& message) override {
        return SendMessage(message.window, message.message, message.wParam, message.lParam);
    }

    LResult SendMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) override {
        auto* target = Known(window);
        if (!target || !target->procedure()) return 0;
        return target->procedure()(window, message, wParam, lParam);
    }

    bool PostMessage(Window* window, uint32_t message, WParam wParam, LParam lParam) override {
        if (window && !Known(window)) return false;
        queue_.push_back({window, message, wParam, lParam});
        return true;
    }

    void PostQuitMessage(int exitCode) override { queue_.push_back({nullptr, WM_QUIT, static_cast<WParam>(exitCode), 0}); }

    bool SetTimer(Window* window, uint32_t id, uint32_t periodMs) override {
        KillTimer(window, id);
        timers_.push_back({window, id, periodMs, Now() + periodMs});
        return true;
    }

    bool KillTimer(Window* window, uint32_t id) override {
        const auto before = timers_.size();
        std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == id; });
        return timers_.size() != before;
    }

    int ShowCursor(bool show) override {
        cursorCount_ += show ? 1 : -1;
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(cursorCount_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
        return cursorCount_;
    }

    void DestroyWindow(Window* window) override {
        if (Known(window)) SendMessage(window, WM_DESTROY, 0, 0);
    }

private:
    // A window being freed leaves the system: nothing may reach it afterwards.
    static void Forget(void* owner, Window* window) {
        auto* self = static_cast<SdlWindowSystem*>(owner);
        std::erase(self->windows_, window);
        std::erase_if(self->timers_, [&](const Timer& t) { return t.window == window; });
        std::erase_if(self->queue_, [&](const Message& m) { return m.window == window; });
    }

    const WindowClass* FindClass(const std::string& name) const {
        for (const WindowClass& c : classes_)
            if (c.name == name) return &c;
        return nullptr;
    }

    SdlWindow* Known(Window* window) const {
        return std::find(windows_.begin(), windows_.end(), window) != windows_.end() ? static_cast<SdlWindow*>(window)
                                                                                    : nullptr;
    }

    Window* WindowFromId(uint32_t id) const {
        for (Window* w : windows_)
            if (static_cast<SdlWindow*>(w)->id() == id) return w;
        return nullptr;
    }

    Window* MainWindow() const { return windows_.empty() ? nullptr : windows_.front(); }

    // Keys reach SDL without a window when the X focus follows the pointer and SDL has not seen
    // the focus arrive; they are meant for us all the same.
    Window* KeyTarget(uint32_t windowId) const {
        Window* window = WindowFromId(windowId);
        return window ? window : MainWindow();
    }

    // The owner of a foreign window destroyed it: ours ends with it.
    void TranslateForeignEvent(const SDL_SysWMmsg& message) {
        if (message.subsystem != SDL_SYSWM_X11 || message.msg.x11.event.type != DestroyNotify) return;
        const ::Window id = message.msg.x11.event.xdestroywindow.window;
        ForeignWindows& foreign = Foreign();
        if (!foreign.Known(id)) return;
        foreign.MarkGone(id);
        for (Window* window : windows_) {
            SDL_SysWMinfo info;
            SDL_VERSION(&info.version);
            if (SDL_GetWindowWMInfo(static_cast<SdlWindow*>(window)->sdl(), &info) && info.info.x11.window == id)
                Post(window, WM_DESTROY);
        }
    }

    void Post(Window* window, uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        if (window) queue_.push_back({window, message, wParam, lParam});
    }

    void PumpEvents() {
        // A request to end (SIGTERM, SIGINT) closes the main window once there is one.
        if (MainWindow() && TakeExitRequest()) Post(MainWindow(), WM_CLOSE);
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        SDL_Event event;
        while (SDL_PollEvent(&event)) Translate(event);
    }

    void Translate(const SDL_Event& event) {
        switch (event.type) {
            case SDL_QUIT: Post(MainWindow(), WM_CLOSE); break;
            case SDL_SYSWMEVENT: TranslateForeignEvent(*event.syswm.msg); break;
            case SDL_WINDOWEVENT: TranslateWindowEvent(event.window); break;
            case SDL_KEYDOWN: {
                const uint32_t vk = VirtualKeyFromSdl(event.key.keysym);
                if (vk) Post(KeyTarget(event.key.windowID), WM_KEYDOWN, vk, event.key.repeat ? 0x40000001 : 1);
                break;
            }
            case SDL_KEYUP: {
                const uint32_t vk = VirtualKeyFromSdl(event.key.keysym);
                if (vk) Post(KeyTarget(event.key.windowID), WM_KEYUP, vk, static_cast<LParam>(0xC0000001));
                break;
            }
            case SDL_TEXTINPUT: PostCharacters(WindowFromId(event.text.windowID), event.text.text); break;
            case SDL_MOUSEMOTION:
                Post(WindowFromId(event.motion.windowID), WM_MOUSEMOVE, 0, MakeLParam(event.motion.x, event.motion.y));
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const bool down = event.type == SDL_MOUSEBUTTONDOWN;
                uint32_t message = 0;
                if (event.button.button == SDL_BUTTON_LEFT) message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                if (event.button.button == SDL_BUTTON_RIGHT) message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                if (event.button.button == SDL_BUTTON_MIDDLE) message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
                if (message)
                    Post(WindowFromId(event.button.windowID), message, 0, MakeLParam(event.button.x, event.button.y));
                break;
            }
            case SDL_MOUSEWHEEL:
                Post(WindowFromId(event.wheel.windowID), WM_MOUSEWHEEL, MakeWParam(0, static_cast<uint32_t>(event.wheel.y * 120)), 0);
                break;
            default: break;
        }
    }

    void TranslateWindowEvent(const SDL_WindowEvent& event) {
        Window* window = WindowFromId(event.windowID);
        switch (event.event) {
            case SDL_WINDOWEVENT_CLOSE: Post(window, WM_CLOSE); break;
            case SDL_WINDOWEVENT_EXPOSED: Post(window, WM_PAINT); break;
            case SDL_WINDOWEVENT_ENTER: Post(window, WM_SETCURSOR); break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                Post(window, WM_ACTIVATE, WA_ACTIVE);
                Post(window, WM_SETFOCUS);
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                Post(window, WM_ACTIVATE, WA_INACTIVE);
                Post(window, WM_KILLFOCUS);
                break;
            case SDL_WINDOWEVENT_MINIMIZED: Post(window, WM_SIZE, SIZE_MINIMIZED); break;
            case SDL_WINDOWEVENT_MAXIMIZED: PostSize(window, SIZE_MAXIMIZED); break;
            case SDL_WINDOWEVENT_RESTORED: PostSize(window, SIZE_RESTORED); break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                PostSize(window, SIZE_RESTORED);
                Post(window, WM_EXITSIZEMOVE);
                break;
            default: break;
        }
    }

    void PostSize(Window* window, WParam kind) {
        if (!window) return;
        const Rect client = window->GetClientRect();
        Post(window, WM_SIZE, kind, MakeLParam(client.Width(), client.Height()));
    }

    // Text arrives as UTF-8; the engine's characters are 8-bit, so only codes below 256 pass.
    void PostCharacters(Window* window, const char* text) {
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        while (*p) {
            uint32_t code = *p++;
            if (code >= 0xC0 && code < 0xE0 && (*p & 0xC0) == 0x80) code = ((code & 0x1F) << 6) | (*p++ & 0x3F);
            else if (code >= 0x80) {
                while ((*p & 0xC0) == 0x80) ++p;
                continue;
            }
            if (code < 256) Post(window, WM_CHAR, code, 1);
        }
    }

    bool Take(Message& message, Window* filter) {
        for (auto it = queue_.begin(); it != queue_.end(); ++it) {
            // The quit message belongs to the thread, so every reader sees it.
            if (filter && it->window != filter && it->message != WM_QUIT) continue;
            message = *it;
            if (message.message == WM_QUIT && !message.window) message.window = filter;
            queue_.erase(it);
            return true;
        }
        // Timer messages come only when nothing else is waiting, as on the platform.
        const int64_t now = Now();
        for (Timer& timer : timers_) {
            if ((filter && timer.window != filter) || now < timer.due) continue;
            timer.due = now + timer.period;
            message = {timer.window, WM_TIMER, timer.id, 0};
            return true;
        }
        return false;
    }

    int WaitBudgetMs() const {
        int64_t budget = 250;
        const int64_t now = Now();
        for (const Timer& timer : timers_) budget = std::min(budget, std::max<int64_t>(0, timer.due - now));
        return static_cast<int>(budget);
    }

    std::vector<WindowClass> classes_;
    std::vector<Window*> windows_;
    std::deque<Message> queue_;
    std::vector<Timer> timers_;
    int cursorCount_ = 0;
};

}  // namespace

WindowSystem& PlatformWindowSystem() {
    // Never destroyed: a window held by an object of static storage (the application) is freed
    // after function statics when exit() runs — from an X error handler, say — and must still
    // find the system it leaves.
    static SdlWindowSystem& windows = *new SdlWindowSystem;
    return windows;
}

}  // namespace sys
