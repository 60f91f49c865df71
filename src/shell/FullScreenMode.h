#pragma once
// The saver's full-screen mode: the request for the user's choice (the desktop's mode or the
// stored size and depth, two samples), its fallback without multisampling, and SetMode.

#include "shell/RenderFramework.h"
#include "shell/SettingsRecord.h"

// False when no mode could be set.
bool ChooseFullScreenMode(RenderFramework& framework, const SettingsRecord& settings);
