// Camera path files and the path player: keys by type, the playlist cycle, the rate of flight,
// the fades at both ends and the pose left to the fallback camera.

#include "shell/CameraPathPlayer.h"

#include <gtest/gtest.h>

#include <set>

#include "common/Random.h"
#include "platform/sys/Clock.h"
#include "resources/DiskStream.h"
#include "shell/CameraPathFile.h"
#include "support/TempDir.h"
#include "udf/UdfWriter.h"

namespace {

struct Key {
    const char* type;
    float values[8];
};

// A path whose camera moves along +x from x = 0 to x = `end` at z = `height`, looking along +z,
// keys at 0 and `end`.
std::vector<Key> Straight(float end, float height = 0) {
    return {{"pos", {0, 0, 0, height}}, {"pos", {end, end, 0, height}}, {"rot", {0, 0, 0, 0, 1}}, {"rot", {end, 0, 0, 0, 1}}};
}

void WriteCam(const std::string& path, const std::vector<Key>& keys, uint32_t size = 32) {
    std::vector<std::unique_ptr<UdfNode>> nodes;
    std::vector<UdfNode*> top;
    int index = 0;
    for (const Key& key : keys) {
        nodes.push_back(std::make_unique<UdfNode>(EngineString(key.type) + EngineString(index++, 10), EngineString(key.type),
                                                  key.values, size, true));
        top.push_back(nodes.back().get());
    }
    UdfWriter writer;
    ASSERT_TRUE(writer.Save(path.c_str(), top, nullptr, 0));
}

class CameraPathTest : public testing::Test {
protected:
    CameraPathTest() {
        player.SetOpener([this](const EngineString& name) -> std::unique_ptr<DataStream> {
            auto stream = std::make_unique<DiskStream>();
            if (!stream->Open((dir.path() + "/" + name.c_str()).c_str(), DataStream::kRead)) return nullptr;
            return stream;
        });
    }
    std::string File(const char* name) const { return dir.path() + "/" + name; }
    // Frames of `stepMs` until the next path (or the next round of the same one) starts; the
    // frames it took, -1 when none started.
    int FramesUntilNextPath(int stepMs, int limit = 100000) {
        for (int frame = 1; frame <= limit; ++frame) {
            const float before = player.pathTime();
            clock.AdvanceMs(stepMs);
            player.Advance(fallback);
            if (player.pathTime() < before) return frame;
        }
        return -1;
    }

    TempDir dir;
    sys::TestClock clock{1000};
    sys::ScopedClock useClock{clock};
    CameraPathPlayer player;
    CameraPose fallback;
};

}  // namespace

TEST_F(CameraPathTest, KeysGoToTheTrackTheirTypeNames) {
    WriteCam(File("a.cam"), {{"rot", {200, 0, 0, 0, 1}}, {"pos", {0, 1, 2, 3}}, {"pos", {200, 4, 5, 6}}, {"other", {0, 0, 0, 0, 1}}});
    DiskStream stream;
    ASSERT_TRUE(stream.Open(File("a.cam").c_str(), DataStream::kRead));
    Animation path;
    path.positionTrack().addKey(AnimationKey::Vector(999, {}));  // cleared by the load
    ASSERT_TRUE(LoadCameraPath(stream, path));
    EXPECT_EQ(path.positionTrack().keyCount(), 2u);
    EXPECT_EQ(path.rotationTrack().keyCount(), 2u);  // any type but "pos" is a rotation
    TimeRange range;
    ASSERT_TRUE(path.getRange(range));
    EXPECT_FLOAT_EQ(range.end, 200.0f);
    EXPECT_FLOAT_EQ(path.positionTrack().key(0).data[2], 3.0f);
}

TEST_F(CameraPathTest, DamagedFilesLeaveNoKeys) {
    WriteCam(File("short.cam"), Straight(100), 16);  // keys cut short
    const char junk[] = "UDF Binary 1.1 not a tree";
    FILE* f = std::fopen(File("junk.cam").c_str(), "wb");
    std::fwrite(junk, 1, sizeof junk, f);
    std::fclose(f);
    for (const char* name : {"short.cam", "junk.cam"}) {
        DiskStream stream;
        ASSERT_TRUE(stream.Open(File(name).c_str(), DataStream::kRead));
        Animation path;
        LoadCameraPath(stream, path);
        TimeRange range;
        EXPECT_FALSE(path.getRange(range)) << name;
    }
}

TEST_F(CameraPathTest, PlaysAtTheFixedRateAndFadesAtBothEnds) {
    WriteCam(File("long.cam"), Straight(400));
    player.RemainingPaths() = {"long.cam"};
    player.Start();
    player.ResetTimer();
    EXPECT_FLOAT_EQ(player.FadeOpacity(), 1.0f);
    for (int i = 0; i < 600; ++i) {
        clock.AdvanceMs(20);
        player.Advance(fallback);
    }
    EXPECT_NEAR(player.pathTime(), 120.0f, 1e-3);  // 12 s at 0.01 units per ms
    EXPECT_FLOAT_EQ(player.FadeOpacity(), 0.0f);
    const CameraPose& pose = player.Advance(fallback);  // evaluated at 120 before advancing
    EXPECT_NEAR(pose.position.x, 120.0f, 1e-2);
    EXPECT_NEAR(pose.forward.z, 1.0f, 1e-6);
    EXPECT_NEAR(pose.up.y, 1.0f, 1e-6);

    clock.AdvanceMs(27300);
    player.Advance(fallback);  // t = 393: seven tenths through the closing fade
    EXPECT_NEAR(player.FadeOpacity(), 0.3f, 1e-3);
    clock.AdvanceMs(1000);
    player.Advance(fallback);  // past the end: the next round starts at the path's first key
    EXPECT_FLOAT_EQ(player.pathTime(), 0.0f);
    clock.AdvanceMs(500);
    player.Advance(fallback);
    EXPECT_NEAR(player.FadeOpacity(), 0.5f, 1e-5);  // halfway through the opening fade
}

TEST_F(CameraPathTest, OneNameRepeatsFromItsStartAndLeavesItsLastPoseToTheFallback) {
    WriteCam(File("only.cam"), Straight(50, 7));
    player.RemainingPaths() = {"only.cam"};
    player.Start();
    player.ResetTimer();
    for (int round = 0; round < 3; ++round) {
        EXPECT_GT(FramesUntilNextPath(100), 0);
        EXPECT_EQ(player.CurrentPath(), "only.cam");
        EXPECT_FLOAT_EQ(player.pathTime(), 0.0f);
        EXPECT_NEAR(fallback.position.x, 50.0f, 1e-3);  // the end of the finished round
        EXPECT_NEAR(fallback.position.z, 7.0f, 1e-3);
    }
}

TEST_F(CameraPathTest, TwoNamesCycleAndEachPlaysOncePerCycle) {
    WriteCam(File("a.cam"), Straight(20));
    WriteCam(File("b.cam"), Straight(30));
    SeedRandom(5);
    player.RemainingPaths() = {"a.cam", "b.cam"};
    player.Start();
    player.ResetTimer();
    std::set<std::string> firsts;
    for (int cycle = 0; cycle < 40; ++cycle) {
        const std::string first = player.CurrentPath().c_str();
        ASSERT_GT(FramesUntilNextPath(50), 0);
        const std::string second = player.CurrentPath().c_str();
        EXPECT_NE(first, second) << cycle;  // the other name before any repeats
        ASSERT_GT(FramesUntilNextPath(50), 0);
        firsts.insert(player.CurrentPath().c_str());
    }
    // A new cycle may start with either name.
    EXPECT_EQ(firsts.size(), 2u);
}

TEST_F(CameraPathTest, WithoutAPathTheFallbackPoseIsUsed) {
    fallback.position = {-200, 100, 0};
    fallback.forward = {1, 0, 0};
    player.Start();
    const CameraPose& pose = player.Advance(fallback);
    EXPECT_EQ(&pose, &fallback);
    EXPECT_FLOAT_EQ(player.FadeOpacity(), 0.0f);
}

TEST_F(CameraPathTest, ADamagedPathIsPassedOverForTheOthers) {
    WriteCam(File("good.cam"), Straight(20));
    player.RemainingPaths() = {"missing.cam", "good.cam"};
    for (unsigned seed = 1; seed < 6; ++seed) {
        SeedRandom(seed);
        player.Start();
        EXPECT_EQ(player.CurrentPath(), "good.cam") << seed;
    }
}

// A recording may ask for the path to start with; the playlist then carries on as usual, and a
// name the list lacks or that does not load leaves the choice to chance.
TEST_F(CameraPathTest, ARequestedFirstPathStartsAndTheCycleGoesOn) {
    WriteCam(File("a.cam"), Straight(20));
    WriteCam(File("b.cam"), Straight(30));
    WriteCam(File("c.cam"), Straight(40));
    for (unsigned seed = 1; seed < 6; ++seed) {
        SeedRandom(seed);
        player.RemainingPaths() = {"a.cam", "b.cam", "c.cam"};
        player.StartWith("b.cam");
        player.Start();
        player.ResetTimer();
        EXPECT_EQ(player.CurrentPath(), "b.cam") << seed;
        ASSERT_GT(FramesUntilNextPath(50), 0);
        EXPECT_NE(player.CurrentPath(), "b.cam") << "the first path counts as played in its cycle";
    }
    WriteCam(File("good.cam"), Straight(20));
    for (const char* name : {"missing.cam", "other.cam"}) {
        player.RemainingPaths() = {"missing.cam", "good.cam"};
        player.StartWith(name);
        player.Start();
        EXPECT_EQ(player.CurrentPath(), "good.cam") << name;
    }
}
