#pragma once
// The entries of the configuration dialog's video-mode list and which one it selects.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/Types.h"
#include "shell/DesktopMode.h"
#include "shell/SettingsRecord.h"

struct VideoModeEntry {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bits = 0;
    std::string text;  // "1024x768x32bit"
};

// The adapter's modes of at least 640 x 480, in the adapter's order. Modes that differ only in
// refresh rate or in a format of the same depth look alike to the user and are listed once.
std::vector<VideoModeEntry> BuildVideoModeList(const std::vector<gfx::D3DDISPLAYMODE>& modes);

// The entry that matches the stored mode (on adapter 0, the only one listed), else the desktop's
// mode, else the first 800 x 600 x 16; -1 when none does.
int ChooseVideoMode(const std::vector<VideoModeEntry>& entries, const SettingsRecord& settings,
                    const DesktopMode& desktop);
