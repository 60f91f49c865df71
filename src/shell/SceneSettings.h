#pragma once
// The scene settings the frame uses (colours, projection, fog, the manual camera's speed), with
// their values before the scene settings file is read, and the reading of that file's keys.

#include <vector>

#include "common/EngineString.h"
#include "resources/FileSource.h"
#include "scene/Color.h"

class UdfTextNode;

struct SceneSettings {
    EngineColor ambient{1.0f, 128.0f / 255, 128.0f / 255, 128.0f / 255};
    EngineColor bgColor{1.0f, 100.0f / 255, 0.0f, 0.0f};
    EngineColor fogColor{1.0f, 128.0f / 255, 128.0f / 255, 128.0f / 255};
    float nearPlane = 1.0f;
    float farPlane = 1500.0f;
    float fogStart = 10000.0f;
    float fogEnd = 10000.0f;
    float fov = 1.0471976f;  // 60 degrees
    float camSpeed = 2.0f;
    bool fogEnabled = false;  // nothing in this program turns fog on
};

// Takes every key present at the root of a parsed Scene.props into `settings`; the names of
// "Animations" are appended to `pathNames` in file order. Missing keys keep their values.
void ReadSceneProps(const UdfTextNode& root, SceneSettings& settings, std::vector<EngineString>& pathNames);

// Parses the scene settings file `file` into `root` and takes its keys as ReadSceneProps does;
// false when the file cannot be opened (nothing changes then).
bool LoadSceneProps(FileSource file, UdfTextNode& root, SceneSettings& settings,
                    std::vector<EngineString>& pathNames);
