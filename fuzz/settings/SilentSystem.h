#pragma once
// The system as the settings fuzz targets see it: message boxes about malformed text are
// counted, never shown.

#include "platform/sys/System.h"

class SilentSystem final : public sys::System {
public:
    bool SetScreenSaverRunning(bool) override { return false; }
    void SendKeepAliveKey(uint32_t) override {}
    bool SetThreadPriority(int) override { return true; }
    sys::LocalTime GetLocalTime() override { return {}; }
    int MessageBox(std::string_view, std::string_view, uint32_t) override { return ++messages; }
    int ShowDirectXDialog() override { return 2; }
    bool ShellOpen(std::string_view) override { return false; }

    int messages = 0;
};
