// The generated scene loaded by the engine's own scene loader on the recording device, textures
// found through the file store as the program finds them.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "RoomMedia.h"
#include "media/Manifest.h"
#include "platform/gfx/RecordingDevice.h"
#include "resources/FileSearchList.h"
#include "scene/MeshRenderable.h"
#include "scene/RenderDevice.h"
#include "scene/Scene.h"
#include "textures/TextureManager.h"

using namespace roomtest;

namespace {

class RoomInEngine : public ::testing::Test {
protected:
    void SetUp() override {
        textures_ = std::make_unique<TextureManager>(&device_);
        files_.Add(FileSource(EngineString(MediaDir().c_str())));
        SceneContext context;
        context.files = &files_;
        context.textures = textures_.get();
        scene_ = std::make_unique<Scene>(context);
        file_ = ReadFile(MediaDir() + "/clock.UDF");
        loaded_ = scene_->loadFromMemory(file_.data(), static_cast<uint32_t>(file_.size()), "");
    }
    void TearDown() override {
        scene_.reset();
        textures_.reset();
    }
    MeshRenderable* Mesh(const char* name) {
        SceneNode* node = scene_->root().find(name);
        return node ? dynamic_cast<MeshRenderable*>(node->getRenderable()) : nullptr;
    }

    gfx::RecordingDevice device_;
    PublishedDevice published_{device_};
    FileSearchList files_;
    std::unique_ptr<TextureManager> textures_;
    std::unique_ptr<Scene> scene_;
    std::vector<uint8_t> file_;
    bool loaded_ = false;
};

TEST_F(RoomInEngine, LoadsWithEveryMeshTexturedAndTheCurtainBoundToItsBones) {
    ASSERT_TRUE(loaded_) << "a skinned mesh whose bones are missing fails the load";
    const BinaryFile file = LoadBinary(MediaDir() + "/clock.UDF");
    int meshes = 0;
    for (const SceneEntry& e : SceneNodes(*file.root)) {
        if (!e.node->FindChild("Verts")) continue;
        ++meshes;
        MeshRenderable* mesh = Mesh(e.name.c_str());
        ASSERT_NE(mesh, nullptr) << e.name << " was skipped by the loader";
        EXPECT_NE(mesh->getStateBlock().stages[0].texture, nullptr) << e.name << ": texture not found";
    }
    EXPECT_GT(meshes, 20);
    auto* curtain = dynamic_cast<SkinnedRenderable*>(Mesh(manifest::kCurtainNode));
    ASSERT_NE(curtain, nullptr);
    EXPECT_EQ(curtain->boundBones(), 10u);
    EXPECT_TRUE(curtain->update()) << "skinning runs over the bound bones";
}

TEST_F(RoomInEngine, LightMappedStagesAreThoseTheApplicationRewrites) {
    ASSERT_TRUE(loaded_);
    int lightMapped = 0;
    const BinaryFile file = LoadBinary(MediaDir() + "/clock.UDF");
    for (const SceneEntry& e : SceneNodes(*file.root)) {
        MeshRenderable* mesh = Mesh(e.name.c_str());
        if (!mesh) continue;
        const StageState& s1 = mesh->getStateBlock().stages[1];
        const bool twoSets = ((mesh->getFvf() >> 8) & 0xF) == 2;
        if (!twoSets) {
            EXPECT_EQ(s1.colorOp, 1u) << e.name << ": a second stage would be swapped as a light map";
            continue;
        }
        ++lightMapped;
        EXPECT_EQ(s1.colorOp, 5u) << e.name;  // MODULATE2X of the current colour and the map
        EXPECT_EQ(s1.colorArg1, 1u) << e.name;
        EXPECT_EQ(s1.colorArg2, 2u) << e.name;
        EXPECT_EQ(s1.texCoordIndex, 1u) << e.name;
        EXPECT_NE(s1.texture, nullptr) << e.name;
    }
    EXPECT_GT(lightMapped, 15);
}

TEST_F(RoomInEngine, NamedNodesCarryTheirStatesAndPlaces) {
    ASSERT_TRUE(loaded_);
    const StateBlock& glass = Mesh(manifest::kClockGlassNode)->getStateBlock();
    EXPECT_EQ(glass.stages[0].alphaOp, 2u);    // SELECTARG1
    EXPECT_EQ(glass.stages[0].alphaArg1, 3u);  // TFACTOR
    EXPECT_NEAR(glass.opacity, 0.2f, 1e-6f);
    EXPECT_EQ(Mesh(manifest::kLampNode)->getStateBlock().blendMode, StateBlock::kAdditive);
    // One-sided, its inside a surface of its own: a two-sided additive shade adds both sides.
    EXPECT_EQ(Mesh(manifest::kLampNode)->getStateBlock().cullMode, 3u);
    EXPECT_TRUE(Mesh(manifest::kOutdoorNode)->isLitMesh());
    EXPECT_NE(Mesh(manifest::kPictureNode)->getStateBlock().stages[0].texture, nullptr);
    // The ticking sound sits at the hour hand's node: on the dial.
    const math::Vec3 tick = scene_->root().find(manifest::kHourHandNode)->getTransform().getPosition();
    EXPECT_NEAR(tick.y, 165.0f, 0.5f);
    EXPECT_NEAR(tick.z, 0.0f, 0.5f);
    EXPECT_GT(tick.x, 165.0f);
    // Every named node is a top-level child, so the application can take it out of the room pass.
    for (const char* name : {manifest::kHourHandNode, manifest::kMinuteHandNode, manifest::kClockGlassNode, manifest::kLampNode, manifest::kCurtainNode, manifest::kOutdoorNode}) {
        bool top = false;
        for (const auto& child : scene_->rootChildren()) top = top || child->getName() == EngineString(name);
        EXPECT_TRUE(top) << name;
    }
}

}  // namespace
