// The generated scene loaded by the engine's own scene loader on the recording device, textures
// found through the file store as the program finds them.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "RoomMedia.h"
#include "media/Manifest.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/sys/Clock.h"
#include "resources/FileSearchList.h"
#include "scene/AnimationPlayer.h"
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

// Played as the application plays the room (one take on the whole tree, its range every player's
// loop): the trickles run down the glass, the drops creep, the clouds drift to the right, the
// pendulum swings all through the loop, and one loop later everything is where it began.
TEST_F(RoomInEngine, TheWindowViewAndThePendulumMoveAllThroughTheLoop) {
    ASSERT_TRUE(loaded_);
    sys::TestClock clock{5000};
    sys::ScopedClock useClock{clock};
    SceneNode& root = scene_->root();
    root.playAnimation(0, EngineString(), true);
    root.setSpeed(SceneNode::kAllComponents, 1.0f, true);
    root.setFlags(SceneNode::kAllComponents, AnimationPlayer::kLoopPlayRange, true);
    TimeRange range;
    ASSERT_TRUE(root.getAnimationRange(range));
    root.setPlayRange(SceneNode::kAllComponents, range, true);
    root.play(0, true);
    const auto matrixAt = [&](double seconds, const char* name) {
        clock.SetMs(5000 + static_cast<int64_t>(seconds * 1000));
        RenderContext context;
        context.flags = RenderContext::kTransformsOnly;
        root.render(context);
        return root.find(name)->getWorldMatrix();
    };
    const auto moved = [&](const char* name, double from, double to) {
        return matrixAt(to, name).TranslationRow() - matrixAt(from, name).TranslationRow();
    };
    // Twelve frames at 30 a second, in the middle of the loop.
    const double start = range.end / 2 + 0.05, later = start + 0.4;
    const math::Vec3 trickles = moved("Window rain", start, later), drops = moved("Window panes", start, later);
    const math::Vec3 clouds = moved("Window clouds", start, later);
    EXPECT_LE(trickles.y, -0.4f * 5) << "at least 5 cm a second";
    EXPECT_GE(trickles.y, -0.4f * 25);
    EXPECT_FLOAT_EQ(trickles.x, 0.0f);
    EXPECT_FLOAT_EQ(trickles.z, 0.0f);
    EXPECT_LT(drops.y, 0.0f);
    EXPECT_GT(drops.y, trickles.y / 4);
    EXPECT_LE(clouds.z, -0.4f * 2) << "at least 2 cm a second, to the right";
    EXPECT_GE(clouds.z, -0.4f * 10);
    const Matrix swing = matrixAt(range.end - 1.5, "Pendulum"), swung = matrixAt(range.end - 1.0, "Pendulum");
    EXPECT_GT(std::fabs(swing.m(1, 2) - swung.m(1, 2)) + std::fabs(swing.m(2, 1) - swung.m(2, 1)), 0.01f)
        << "the pendulum stands still before the loop ends";
    for (const char* name : {"Window rain", "Window panes", "Window clouds", "Pendulum"}) {
        const Matrix first = matrixAt(start, name), again = matrixAt(start + range.end - range.start, name);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(first.m(i / 4, i % 4), again.m(i / 4, i % 4), 1e-3f) << name;
    }
}

}  // namespace
