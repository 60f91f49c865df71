#pragma once
// The saver window: made for the run mode (inside a preview's parent, inside a desktop host's
// window, or a popup of its own), the preview's start-up wait, and the reading of its messages.

#include <cstdint>
#include <memory>

#include "platform/sys/Window.h"
#include "shell/CommandLine.h"
#include "shell/SettingsRecord.h"

class ScreenSaverWindow {
public:
    // The product's display name, the window's title.
    static constexpr const char* kTitle = "Quelmont";

    // Registers the window class with `procedure` and makes the window for `mode`. Configure
    // needs no window (true, none made); false in a mode without one or when it cannot be made.
    bool Create(RunMode mode, uint32_t parentWindow, const SettingsRecord& settings, sys::WindowProc procedure);
    sys::Window* Get() const { return window_.get(); }
    // Made inside a desktop host's window, which owns the user's input.
    bool Hosted() const { return hosted_; }

    // The preview's start: about 500 ms of message pumping at idle priority, ended by the timer
    // that OnMessage starts and stops.
    void WaitForPreviewStart();
    // The messages of the preview: its picture and its start timer.
    void OnMessage(sys::WindowHandle window, uint32_t message);

    // Dispatches the queued messages until none is left or `exitRequested` is set.
    void PumpMessages(const bool& exitRequested);
    // Waits for one message and dispatches it; false when the queue ends or fails.
    bool DispatchNextMessage();
    // Sleeps until a message comes or `timeoutMs` has passed.
    void WaitForMessage(uint32_t timeoutMs);
    void Destroy();

private:
    RunMode mode_ = RunMode::Saver;
    std::unique_ptr<sys::Window> window_;
    bool previewWait_ = false;
    bool hosted_ = false;
};
