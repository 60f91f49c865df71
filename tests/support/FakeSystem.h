#pragma once
// A sys::System that records what the program asks of the desktop, installed for a test's life.

#include <string>
#include <vector>

#include "platform/sys/System.h"

class FakeSystem final : public sys::System {
public:
    struct Box {
        std::string text, caption;
    };

    FakeSystem() { sys::SetSystem(this); }
    ~FakeSystem() override { sys::SetSystem(nullptr); }

    bool SetScreenSaverRunning(bool running) override {
        const bool previous = running_;
        running_ = running;
        runningChanges.push_back(running);
        return previous;
    }
    void SendKeepAliveKey(uint32_t virtualKey) override { keepAliveKeys.push_back(virtualKey); }
    bool SetThreadPriority(int priority) override {
        this->priority = priority;
        return true;
    }
    sys::LocalTime GetLocalTime() override { return localTime; }
    int MessageBox(std::string_view text, std::string_view caption, uint32_t) override {
        boxes.push_back({std::string(text), std::string(caption)});
        return sys::IDOK;
    }
    int ShowDirectXDialog() override {
        ++directXDialogs;
        return directXDialogAnswer;
    }
    bool ShellOpen(std::string_view address) override {
        opened.emplace_back(address);
        return true;
    }

    std::vector<bool> runningChanges;
    std::vector<uint32_t> keepAliveKeys;
    std::vector<Box> boxes;
    std::vector<std::string> opened;
    sys::LocalTime localTime;
    int priority = 0;
    int directXDialogs = 0;
    int directXDialogAnswer = sys::IDCANCEL;

private:
    bool running_ = false;
};
