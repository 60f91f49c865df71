#pragma once
// A scene file loaded for inspection, on whatever device is current: textures are looked for
// beside the file, then relative to the working directory.

#include <memory>
#include <string>

#include "resources/FileSearchList.h"
#include "scene/Scene.h"
#include "textures/TextureManager.h"

struct LoadedScene {
    FileSearchList files;
    std::unique_ptr<TextureManager> textures;
    std::unique_ptr<Scene> scene;
    bool loaded = false;

    LoadedScene() = default;
    LoadedScene(const LoadedScene&) = delete;
    LoadedScene& operator=(const LoadedScene&) = delete;
    // The scene goes before the textures it holds.
    ~LoadedScene() { scene.reset(); }
};

// Loads `path` onto an empty scene on `device` (which must be the current device). False when
// the file cannot be read at all; `out.loaded` is the scene's own load result.
bool LoadSceneFile(const std::string& path, gfx::Device& device, LoadedScene& out);

// {"loaded":…,"materials":[…],"lights":[…],"nodes":[…],"cameras":[…]}: see the README.
std::string SceneToJson(Scene& scene, bool loaded);
