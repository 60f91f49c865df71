// The scene fuzzer's seeds are scene files the tests write. The committed seeds must be what
// the tests write today, so the fuzzer starts from files of the current format; set
// QUELMONT_WRITE_SCENE_SEEDS=1 to write them anew into the source tree.

#include <cstdlib>
#include <string>

#include "HandWorkedScene.h"
#include "SceneFixture.h"
#include "support/Files.h"

using namespace scenefiles;

namespace {

class SeedCorpus : public SceneTest {
protected:
    // Writes the seed `name` from `root_` (or compares it with the committed one) and loads it.
    void Seed(const char* name) {
        const std::vector<uint8_t> bytes = SaveBytes(*root_, PathOf(name));
        const std::string committed = std::string(std::getenv("QUELMONT_SOURCE_DIR")) + "/fuzz/scene/corpus/scene/" + name;
        if (std::getenv("QUELMONT_WRITE_SCENE_SEEDS")) {
            std::FILE* f = std::fopen(committed.c_str(), "wb");
            ASSERT_NE(f, nullptr) << committed;
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        EXPECT_EQ(ReadFile(committed), std::string(bytes.begin(), bytes.end())) << name << " is out of date";
        Scene scene(Context());
        EXPECT_TRUE(scene.loadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), "")) << name;
    }
};

TEST_F(SeedCorpus, TheCommittedSeedsAreTheFilesTheTestsWrite) {
    root_ = BuildHandWorkedScene(dir_.path());
    Seed("hand-worked.udf");

    root_ = MakeRoot();
    UdfNode* pendulum = AddSquareMesh(Children(), "Pendulum", 0, 0, 1, 5);
    UdfNode* animation = AddStruct(*pendulum, "Animation", "Animation");
    UdfNode* rotation = AddStruct(*animation, "Rotation", "Sample");
    UdfNode* position = AddStruct(*animation, "Position", "Position");
    for (int i = 0; i < 4; ++i) {
        const AnimationKey turn = AnimationKey::Rotation(i / 15.0f, math::QuatRotationAxis({0, 0, 1}, 0.2f * i));
        rotation->AddData(std::to_string(i).c_str(), "AniKey", &turn, sizeof(turn), true);
        const AnimationKey move = AnimationKey::Vector(i * 0.5f, {0, 0.1f * i, 0}, 0.1f, 0, 0, 0.2f);
        position->AddData(std::to_string(i).c_str(), "AniKey", &move, sizeof(move), true);
    }
    AddNode(*AddStruct(*root_, "Cameras", "Node"), "Camera01", "Camera", math::Translation(0, 1, -5));
    Seed("animated.udf");
}

}  // namespace
