#pragma once
// The desktop display mode recorded at start-up, shared with the configuration dialog.

#include <cstdint>

#include "platform/gfx/Types.h"

struct DesktopMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
    gfx::D3DFORMAT format = gfx::D3DFMT_UNKNOWN;
};

const DesktopMode& RecordedDesktopMode();
void RecordDesktopMode(const DesktopMode& mode);
