// Plays the display settings' preview: makes a window, starts the saver with /p and its handle,
// and checks that the saver's window lives inside it and fills it, and that the saver
// ends when the window closes. Usage: PreviewHost SAVER.scr; exit code 0 when all held.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

PROCESS_INFORMATION saver{};

int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    // A saver left running would hold the test's output open.
    if (saver.hProcess) TerminateProcess(saver.hProcess, 9);
    return 1;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: PreviewHost SAVER.scr");
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    hostClass.lpszClassName = "PreviewHost";
    RegisterClassA(&hostClass);
    HWND host = CreateWindowExA(0, "PreviewHost", "preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 260, 220,
                                nullptr, nullptr, hostClass.hInstance, nullptr);
    if (!host) return Fail("no host window");
    Pump();

    std::string line = "\"" + std::string(argv[1]) + "\" /p " + std::to_string(reinterpret_cast<uintptr_t>(host));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &saver))
        return Fail("the saver did not start");

    HWND child = nullptr;
    for (int i = 0; i < 600 && !child; ++i) {
        Pump();
        Sleep(100);
        child = FindWindowExA(host, nullptr, "Quelmont Class", nullptr);
    }
    if (!child) return Fail("no saver window inside the host's");
    RECT hostClient{}, childClient{};
    GetClientRect(host, &hostClient);
    GetClientRect(child, &childClient);
    if (childClient.right != hostClient.right || childClient.bottom != hostClient.bottom)
        return Fail("the saver's window does not fill the host's");
    // The saver's painting cannot be read from here: under Wine another process's window
    // shows nothing in this one's device context. Its window is what the desktop checks.
    DestroyWindow(host);
    Pump();
    if (WaitForSingleObject(saver.hProcess, 20000) != WAIT_OBJECT_0) return Fail("the saver went on after its window closed");
    std::printf("PASS\n");
    return 0;
}
