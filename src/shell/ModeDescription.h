#pragma once
// Trace lines about device settings: the multisampling of a mode request, and the description
// written when a device is created.

#include "shell/DeviceSettings.h"

void LogModeRequest(const DeviceSettings& settings);
void WriteModeDescription(const DeviceSettings& settings);
