// Frames of the generated room, ray-cast from the shipped files through the default gamma ramp:
// the clock where the eye expects it, a dial that reads, and a night room rather than a haze.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RoomMedia.h"
#include "RoomView.h"

using namespace roomtest;

namespace {

constexpr int kWidth = 320, kHeight = 200;

int Grey(uint32_t p) { return static_cast<int>(((p >> 16 & 255) * 3 + (p >> 8 & 255) * 6 + (p & 255)) / 10); }

int Percentile(std::vector<int> values, float share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * static_cast<float>(values.size() - 1))];
}

class RoomFrames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        view_ = new RoomView;
        std::string error;
        loaded_ = view_->Load(MediaDir(), error);
        view_->SetTime(10, 10);
    }
    static void TearDownTestSuite() { delete view_; }
    static inline RoomView* view_ = nullptr;
    static inline bool loaded_ = false;
    const math::Vec3 eye_{-200, 100, 0}, at_{0, 100, 0};
};

// Where a point lands in the fallback camera's frame (pixels).
void Project(math::Vec3 p, float& x, float& y) {
    const math::Vec3 d = p - math::Vec3{-200, 100, 0};
    const float tanHalf = std::tan(70.0f * 3.14159265f / 360);
    x = (0.5f + 0.5f * (-d.z / d.x) / (tanHalf * kWidth / kHeight)) * kWidth;
    y = (0.5f - 0.5f * (d.y / d.x) / tanHalf) * kHeight;
}

TEST_F(RoomFrames, FallbackViewShowsTheClockCentredWithAReadableDial) {
    ASSERT_TRUE(loaded_);
    const gfx::ArgbImage frame = view_->Render(eye_, at_, kWidth, kHeight, 100);
    // The dial, from its mesh in the file.
    const BinaryFile file = LoadBinary(MediaDir() + "/clock.UDF");
    const UdfNode* dial = nullptr;
    for (const SceneEntry& e : SceneNodes(*file.root))
        if (e.name == "Dial") dial = e.node;
    ASSERT_NE(dial, nullptr);
    const UdfNode* verts = dial->FindChild("Verts");
    math::Vec3 centre{};
    const uint32_t n = verts->Size() / 40;
    for (uint32_t v = 0; v < n; ++v)
        centre += math::Vec3{FloatAt(verts, v * 10), FloatAt(verts, v * 10 + 1), FloatAt(verts, v * 10 + 2)} * (1.0f / n);
    float x, y;
    Project(centre, x, y);
    EXPECT_GT(x, kWidth / 3.0f);
    EXPECT_LT(x, kWidth * 2 / 3.0f);
    EXPECT_GT(y, 0.0f);
    EXPECT_LT(y, kHeight / 2.0f);
    // Black numerals and hands on ivory: a wide spread of grey over the dial's area.
    std::vector<int> greys;
    const int r = 5;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            greys.push_back(Grey(frame.Row(static_cast<uint32_t>(y) + static_cast<uint32_t>(dy))[static_cast<int>(x) + dx]));
    EXPECT_GT(Percentile(greys, 0.95f) - Percentile(greys, 0.05f), 60) << "the dial does not read";
    // The dial is the brightest thing but the lamp: brighter than most of the frame.
    std::vector<int> all;
    for (uint32_t p : frame.pixels) all.push_back(Grey(p));
    EXPECT_GT(Percentile(greys, 0.9f), Percentile(all, 0.9f));
}

TEST_F(RoomFrames, NightRoomNotAHazeAtTheDefaultGamma) {
    ASSERT_TRUE(loaded_);
    const gfx::ArgbImage frame = view_->Render(eye_, at_, kWidth, kHeight, 100);
    std::vector<int> greys;
    for (uint32_t p : frame.pixels) greys.push_back(Grey(p));
    const int liftedBlack = 20000 / 257;  // the ramp of Gamma 100 at input 0
    EXPECT_LT(Percentile(greys, 0.1f), liftedBlack + 14);
    EXPECT_GT(Percentile(greys, 0.97f) - Percentile(greys, 0.03f), 60);
    EXPECT_LT(Percentile(greys, 0.5f), 150) << "a night room, not a lit one";
}

// Without the lift the room is authored dark, but the lamp-lit parts must still show and the
// rest must not sink into black.
TEST_F(RoomFrames, GammaZeroKeepsTheRoomVisible) {
    ASSERT_TRUE(loaded_);
    const gfx::ArgbImage frame = view_->Render(eye_, at_, kWidth, kHeight, 0);
    std::vector<int> greys;
    for (uint32_t p : frame.pixels) greys.push_back(Grey(p));
    EXPECT_GE(Percentile(greys, 0.5f), 8);
    EXPECT_GE(Percentile(greys, 0.9f), 40);
}

}  // namespace
