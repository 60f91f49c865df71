#pragma once
// The engine's part of the configuration dialog: captions from the UI texts, the video-mode
// list, the settings' controls and their enabling rules, Restore Defaults, Visit, OK and Cancel.
// It drives the controls through ui::Dialog only, so any toolkit (or a test) can show it.

#include <cstdint>
#include <vector>

#include "platform/sys/Messages.h"
#include "shell/VideoModeList.h"

class Application;
namespace ui {
class Dialog;
}

class ConfigDialog {
public:
    explicit ConfigDialog(Application& app) : app_(app) {}

    // One message of the dialog; nonzero when it was handled.
    intptr_t HandleMessage(ui::Dialog& dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam);

private:
    void Init(ui::Dialog& dialog);
    // False when the graphics object cannot be made.
    bool FillVideoModes(ui::Dialog& dialog);
    // Every control from the settings record.
    void ShowSettings(ui::Dialog& dialog);
    void ShowGamma(ui::Dialog& dialog);
    void UpdateEnabling(ui::Dialog& dialog);
    bool OnCommand(ui::Dialog& dialog, int id);
    void OnOk(ui::Dialog& dialog);

    Application& app_;
    std::vector<VideoModeEntry> modes_;
};
