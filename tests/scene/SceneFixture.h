#pragma once
// A scene on the recording device with a texture manager that finds files in a temp folder.

#include <memory>
#include <string>

#include "RecordingDeviceTest.h"
#include "SceneFiles.h"
#include "resources/FileSearchList.h"
#include "textures/TextureManager.h"
#include "scene/Scene.h"
#include "support/TempDir.h"

namespace scenefiles {

class SceneTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        textures_ = std::make_unique<TextureManager>(&device_);
        files_.Add(FileSource(EngineString(dir_.path().c_str())));
        root_ = MakeRoot();
    }
    void TearDown() override {
        scene_.reset();
        textures_.reset();
        RecordingDeviceTest::TearDown();
    }

    std::string PathOf(const char* name) const { return dir_.path() + "/" + name; }

    // Saves the file built in `root_` and loads it onto the scene (made on first use).
    bool Load(const char* take = "") {
        const std::vector<uint8_t> bytes = SaveBytes(*root_, PathOf("scene.udf"));
        if (!scene_) scene_ = std::make_unique<Scene>(Context());
        return scene_->loadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), take);
    }

    SceneContext Context() {
        SceneContext context;
        context.files = &files_;
        context.textures = textures_.get();
        return context;
    }

    UdfNode& Children() { return *AddStruct(*root_, "Children", "Node"); }
    UdfNode& Materials() { return *AddStruct(*root_, "Materials", "Material"); }
    UdfNode& Lights() { return *AddStruct(*root_, "Lights", "Light"); }

    MeshRenderable* MeshOf(const char* name) const {
        SceneNode* node = scene_->root().find(name);
        return node ? dynamic_cast<MeshRenderable*>(node->getRenderable()) : nullptr;
    }

    TempDir dir_;
    FileSearchList files_;
    std::unique_ptr<TextureManager> textures_;
    std::unique_ptr<UdfNode> root_;
    std::unique_ptr<Scene> scene_;
};

}  // namespace scenefiles
