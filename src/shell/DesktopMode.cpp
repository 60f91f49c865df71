#include "shell/DesktopMode.h"

namespace {
DesktopMode g_desktopMode;
}

const DesktopMode& RecordedDesktopMode() { return g_desktopMode; }
void RecordDesktopMode(const DesktopMode& mode) { g_desktopMode = mode; }
