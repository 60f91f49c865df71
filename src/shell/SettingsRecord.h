#pragma once
// The user's settings held by the application, and where they live.

#include <cstdint>

struct SettingsRecord {
    bool UseDesktop = false;
    bool ExitOnMM = false;
    bool ShowTime = false;
    bool TimeStyle = false;  // true: 24-hour clock
    bool Music = false;
    bool Sound = false;
    int32_t Volume = 0;  // 0..100
    bool ShowFps = false;
    int32_t Gamma = 0;  // -100..100
    int32_t Adapter = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Depth = 0;
};

// The key under the current user that holds the values.
constexpr const char* kSettingsKey = "Software\\KORVANE Studio\\Quelmont";
