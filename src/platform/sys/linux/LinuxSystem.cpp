#include <SDL.h>
#include <X11/Xlib.h>
#include <glib.h>
#include <sys/resource.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/HostWindow.h"
#include "platform/sys/System.h"
#include "platform/ui/MessageBoxes.h"

namespace sys {
namespace {

class LinuxSystem final : public System {
public:
    ~LinuxSystem() override {
        if (display_) XCloseDisplay(display_);
    }

    bool SetScreenSaverRunning(bool running) override {
        const bool previous = running_;
        running_ = running;
        // The desktop's own blanking stays off while we run, also when SDL's video part starts
        // later (the hint is read then). Inside a host's window the host owns the blanking.
        const bool inhibit = running && HostWindow() == 0;
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, inhibit ? "0" : "1");
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            if (inhibit) SDL_DisableScreenSaver();
            else SDL_EnableScreenSaver();
        }
        return previous;
    }

    void SendKeepAliveKey(uint32_t /*virtualKey*/) override {
        // A host (XScreenSaver) manages the idle state and the monitor's power saving itself.
        if (HostWindow() != 0) return;
        // X servers keep an idle timer instead of watching synthetic keys: reset it directly.
        if (!display_ && !displayTried_) {
            displayTried_ = true;
            if (std::getenv("DISPLAY")) display_ = XOpenDisplay(nullptr);
        }
        if (display_) {
            XResetScreenSaver(display_);
            XFlush(display_);
        }
    }

    bool SetThreadPriority(int priority) override {
        // Idle priority is the lowest scheduling weight; normal is the default niceness.
        const int nice = priority <= THREAD_PRIORITY_IDLE ? 19 : priority < 0 ? 10 : 0;
        return setpriority(PRIO_PROCESS, 0, nice) == 0;
    }

    LocalTime GetLocalTime() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        tm local{};
        localtime_r(&now.tv_sec, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min,         local.tm_sec,     static_cast<int>(now.tv_nsec / 1000000)};
    }

    int MessageBox(std::string_view text, std::string_view caption, uint32_t /*flags*/) override {
        ui::ShowMessageBox(text, caption);
        return IDOK;
    }

    int ShowDirectXDialog() override {
        const GraphicsHelp& help = PlatformGraphicsHelp();
        return ui::ShowDirectXDialog(help.checkText, help.downloadButton);
    }

    bool ShellOpen(std::string_view address) override {
        const std::string target(address);
        char program[] = "xdg-open";
        char* argv[] = {program, const_cast<char*>(target.c_str()), nullptr};
        // Detached: xdg-open may wait for the browser it starts (it does when it hands over to
        // $BROWSER), and the caller's window must not freeze meanwhile. Without a child pid to
        // give back, the spawn goes through an intermediate process, so nothing is left to reap;
        // a program that cannot be started is still reported.
        GError* error = nullptr;
        const bool started = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error);
        if (error) g_error_free(error);
        return started;
    }

private:
    Display* display_ = nullptr;
    bool displayTried_ = false;
    bool running_ = false;
};

}  // namespace

System& PlatformSystem() {
    static LinuxSystem system;
    return system;
}

}  // namespace sys
