#include "shell/VideoModeList.h"

#include <algorithm>

#include "shell/DeviceNames.h"

namespace {

constexpr uint32_t kMinimumWidth = 640;
constexpr uint32_t kMinimumHeight = 480;

int FindMode(const std::vector<VideoModeEntry>& entries, uint32_t width, uint32_t height, uint32_t bits) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const VideoModeEntry& e) {
        return e.width == width && e.height == height && e.bits == bits;
    });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

}  // namespace

std::vector<VideoModeEntry> BuildVideoModeList(const std::vector<gfx::D3DDISPLAYMODE>& modes) {
    std::vector<VideoModeEntry> entries;
    for (const gfx::D3DDISPLAYMODE& mode : modes) {
        if (mode.Width < kMinimumWidth || mode.Height < kMinimumHeight) continue;
        const uint32_t bits = FormatBits(mode.Format);
        if (FindMode(entries, mode.Width, mode.Height, bits) >= 0) continue;
        entries.push_back({mode.Width, mode.Height, bits,
                           std::to_string(mode.Width) + "x" + std::to_string(mode.Height) + "x" + std::to_string(bits) +
                               "bit"});
    }
    return entries;
}

int ChooseVideoMode(const std::vector<VideoModeEntry>& entries, const SettingsRecord& settings,
                    const DesktopMode& desktop) {
    if (settings.Adapter == 0 && settings.Width > 0 && settings.Height > 0 && settings.Depth > 0) {
        const int stored = FindMode(entries, static_cast<uint32_t>(settings.Width), static_cast<uint32_t>(settings.Height),
                                    static_cast<uint32_t>(settings.Depth));
        if (stored >= 0) return stored;
    }
    const int desktopMode = FindMode(entries, desktop.width, desktop.height, FormatBits(desktop.format));
    if (desktopMode >= 0) return desktopMode;
    return FindMode(entries, 800, 600, 16);
}
