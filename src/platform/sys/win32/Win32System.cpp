#include <string>

#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/System.h"

// After our headers, whose names the system's macros would rename.
#include <windows.h>
#include <shellapi.h>
#undef MessageBox

namespace sys {
namespace {

// The engine's texts are UTF-8; the system's wide calls show every character of them.
std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

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
        return MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), flags);
    }

    int ShowDirectXDialog() override {
        // OK stands for the download button: its answer is the same 1.
        const GraphicsHelp& help = PlatformGraphicsHelp();
        return MessageBoxW(nullptr, Wide(help.checkText).c_str(), L"DirectX", MB_OKCANCEL | MB_ICONERROR) == IDOK ? 1 : 2;
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
