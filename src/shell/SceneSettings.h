#pragma once
// The scene settings the frame uses (colours, projection, fog), with their values before the
// scene settings file is read.

#include "scene/Color.h"

struct SceneSettings {
    EngineColor ambient{1.0f, 128.0f / 255, 128.0f / 255, 128.0f / 255};
    EngineColor bgColor{1.0f, 100.0f / 255, 0.0f, 0.0f};
    EngineColor fogColor{1.0f, 128.0f / 255, 128.0f / 255, 128.0f / 255};
    float nearPlane = 1.0f;
    float farPlane = 1500.0f;
    float fogStart = 10000.0f;
    float fogEnd = 10000.0f;
    float fov = 1.0471976f;  // 60 degrees
    bool fogEnabled = false;  // nothing in this program turns fog on
};
