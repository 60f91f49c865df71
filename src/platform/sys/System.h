#pragma once
// System services the shell calls: the screensaver-running flag, the keep-alive, thread priority,
// local time, message boxes and the shell's "open" verb. Replaceable process-wide for tests.

#include <cstdint>
#include <string_view>

namespace sys {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Message-box buttons and results, with the platform's numbers.
constexpr uint32_t MB_OK = 0x0;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Thread priorities.
constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_NORMAL = 0;

class System {
public:
    virtual ~System() = default;
    // Tells the desktop that a screensaver runs (it must not start its own, nor blank). Returns
    // the previous state.
    virtual bool SetScreenSaverRunning(bool running) = 0;
    // Makes the system see input so it does not idle; `virtualKey` is the key a desktop without
    // an idle timer would be sent.
    virtual void SendKeepAliveKey(uint32_t virtualKey) = 0;
    virtual bool SetThreadPriority(int priority) = 0;
    virtual LocalTime GetLocalTime() = 0;
    // A modal message box with one OK button; texts are UTF-8.
    virtual int MessageBox(std::string_view text, std::string_view caption, uint32_t flags) = 0;
    // The dialog shown when the graphics check fails: returns the id of the button chosen
    // (1 download, 2 cancel).
    virtual int ShowDirectXDialog() = 0;
    // Opens a document or web address in the user's default application.
    virtual bool ShellOpen(std::string_view address) = 0;
};

System& GetSystem();
void SetSystem(System* system);  // null restores the platform's

}  // namespace sys
