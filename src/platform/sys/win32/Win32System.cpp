#include <string>

#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/System.h"
#include "platform/ui/MessageBoxes.h"

// After our headers, whose names the system's macros would rename.
#include <windows.h>
#include <shellapi.h>
#undef MessageBox

#include "platform/ui/win32/WideText.h"

namespace sys {
namespace {

class Win32System final : public System {
public:
    bool SetScreenSaverRunning(bool running) override {
        BOOL previous = FALSE;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
        return previous != FALSE;
    }

    void SendKeepAliveKey(uint32_t virtualKey) override {
        // A key press and release that no window acts on: the system counts it as input.
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = static_cast<WORD>(virtualKey);
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }

    bool SetThreadPriority(int priority) override { return ::SetThreadPriority(GetCurrentThread(), priority) != 0; }

    LocalTime GetLocalTime() override {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    }

    int MessageBox(std::string_view text, std::string_view caption, uint32_t flags) override {
        return MessageBoxW(nullptr, ui::win32::WideText(text).c_str(), ui::win32::WideText(caption).c_str(), flags);
    }

    int ShowDirectXDialog() override {
        const GraphicsHelp& help = PlatformGraphicsHelp();
        return ui::ShowDirectXDialog(help.checkText, help.downloadButton);
    }

    bool ShellOpen(std::string_view address) override {
        const std::string target(address);
        // Values above 32 mean the document was handed over.
        return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
    }
};

}  // namespace

System& PlatformSystem() {
    static Win32System system;
    return system;
}

}  // namespace sys
