// The generated room drawn on the OpenGL device from the fallback camera, then mapped through the
// gamma ramp of a Gamma setting as the display would: the clock where the eye expects it, a dial
// that reads, and a night room rather than a grey haze.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "RoomMedia.h"
#include "SceneTool.h"
#include "platform/gfx/loader/Image.h"
#include "platform/gfx/loader/TextureLoader.h"
#include "shell/GammaRamp.h"
#include "support/TempDir.h"

using namespace roomtest;

namespace {

constexpr int kWidth = 320, kHeight = 200;
constexpr float kFovDegrees = 70;  // the room's Fov
const math::Vec3 kEye{-200, 100, 0};

int Grey(uint32_t p) { return static_cast<int>(((p >> 16 & 255) * 3 + (p >> 8 & 255) * 6 + (p & 255)) / 10); }

int Percentile(std::vector<int> values, float share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * static_cast<float>(values.size() - 1))];
}

// Where a point lands in the fallback camera's frame (pixels).
void Project(math::Vec3 p, float& x, float& y) {
    const math::Vec3 d = p - kEye;
    const float tanHalf = std::tan(kFovDegrees * 3.14159265f / 360);
    x = (0.5f + 0.5f * (-d.z / d.x) / (tanHalf * kWidth / kHeight)) * kWidth;
    y = (0.5f - 0.5f * (d.y / d.x) / tanHalf) * kHeight;
}

// The centre of the dial's mesh, from the file.
math::Vec3 DialCentre() {
    const BinaryFile file = LoadBinary(MediaDir() + "/clock.UDF");
    math::Vec3 centre{};
    if (!file.root) return centre;
    for (const SceneEntry& e : SceneNodes(*file.root)) {
        if (e.name != "Dial") continue;
        const UdfNode* verts = e.node->FindChild("Verts");
        const uint32_t n = verts ? verts->Size() / 40 : 0;
        for (uint32_t v = 0; v < n; ++v)
            centre += math::Vec3{FloatAt(verts, v * 10), FloatAt(verts, v * 10 + 1), FloatAt(verts, v * 10 + 2)} *
                      (1.0f / static_cast<float>(n));
    }
    return centre;
}

class RoomFrames : public ::testing::Test {
protected:
    // One engine frame for the whole suite: the scene and its textures load once.
    static void SetUpTestSuite() {
        TempDir dir;
        const std::string png = dir.path() + "/fallback.png";
        char size[32];
        std::snprintf(size, sizeof size, "%dx%d", kWidth, kHeight);
        const std::vector<std::string> args{MediaDir() + "/clock.UDF", "--out", png, "--eye", "-200,100,0", "--at",
                                            "0,100,0", "--size", size, "--fov",
                                            std::to_string(kFovDegrees * 3.14159265f / 180), "--ambient", "0xFFFFFFFF"};
        if (RenderCommand(args, stderr) != 0) return;
        const std::vector<uint8_t> bytes = ReadFile(png);
        gfx::DecodedImage image;
        if (gfx::SUCCEEDED(gfx::DecodePng(bytes, gfx::ImageLimits{}, image))) frame_ = new gfx::ArgbImage(image.Argb(0));
    }
    static void TearDownTestSuite() {
        delete frame_;
        frame_ = nullptr;
    }

    // The frame's greys as the screen shows them under the ramp of `gamma`.
    static std::vector<int> Greys(int gamma) {
        const GammaRamp ramp = BuildGammaRamp(gamma);
        std::vector<int> greys;
        greys.reserve(frame_->pixels.size());
        for (uint32_t p : frame_->pixels) {
            const uint32_t r = ramp.red[p >> 16 & 255] >> 8, g = ramp.green[p >> 8 & 255] >> 8, b = ramp.blue[p & 255] >> 8;
            greys.push_back(Grey(r << 16 | g << 8 | b));
        }
        return greys;
    }
    static int At(const std::vector<int>& greys, int x, int y) { return greys[static_cast<size_t>(y * kWidth + x)]; }

    static inline gfx::ArgbImage* frame_ = nullptr;
};

TEST_F(RoomFrames, FallbackViewShowsTheClockCentredWithAReadableDial) {
    ASSERT_NE(frame_, nullptr) << "the engine drew no frame";
    ASSERT_EQ(frame_->width, static_cast<uint32_t>(kWidth));
    float x, y;
    Project(DialCentre(), x, y);
    EXPECT_GT(x, kWidth / 3.0f);
    EXPECT_LT(x, kWidth * 2 / 3.0f);
    EXPECT_GT(y, 5.0f);
    EXPECT_LT(y, kHeight / 2.0f);
    // Dark numerals and hands on ivory: a wide spread of grey over the dial's area, on screen.
    const std::vector<int> screen = Greys(100);
    std::vector<int> dial;
    const int r = 5;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) dial.push_back(At(screen, static_cast<int>(x) + dx, static_cast<int>(y) + dy));
    EXPECT_GT(Percentile(dial, 0.95f) - Percentile(dial, 0.05f), 50) << "the dial does not read";
    // The dial stands out: brighter than most of the frame.
    EXPECT_GT(Percentile(dial, 0.9f), Percentile(screen, 0.9f));
}

TEST_F(RoomFrames, NightRoomNotAHazeAtTheDefaultGamma) {
    ASSERT_NE(frame_, nullptr) << "the engine drew no frame";
    const std::vector<int> greys = Greys(100);
    const int liftedBlack = 20000 / 257;  // the ramp of Gamma 100 at input 0
    EXPECT_LT(Percentile(greys, 0.1f), liftedBlack + 14);
    EXPECT_GT(Percentile(greys, 0.97f) - Percentile(greys, 0.03f), 60);
    EXPECT_LT(Percentile(greys, 0.5f), 150) << "a night room, not a lit one";
}

// Without the lift the room is authored dark, but the lamp-lit parts must still show and the
// rest must not sink into black.
TEST_F(RoomFrames, GammaZeroKeepsTheRoomVisible) {
    ASSERT_NE(frame_, nullptr) << "the engine drew no frame";
    const std::vector<int> greys = Greys(0);
    EXPECT_GE(Percentile(greys, 0.5f), 8);
    EXPECT_GE(Percentile(greys, 0.9f), 40);
}

}  // namespace
