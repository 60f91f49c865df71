// What the window shows, as the generator writes it: layers that slide by whole tiles of their
// textures so the animation loop has no seam, quads that cover the opening at every moment,
// textures that tile, and hills whose edges stay smooth when a close view magnifies them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "RoomLayout.h"
#include "RoomMedia.h"
#include "Textures.h"
#include "platform/gfx/loader/Image.h"

using namespace roomtest;

namespace {

struct Vertex {
    math::Vec3 position;
    float u = 0, v = 0;
};

struct Key {
    float time;
    math::Vec3 offset;
};

class WindowView : public ::testing::Test {
protected:
    static void SetUpTestSuite() { file_ = new BinaryFile(LoadBinary(MediaDir() + "/clock.UDF")); }
    static void TearDownTestSuite() { delete file_; }

    static const UdfNode* Node(const std::string& name) {
        for (const SceneEntry& e : SceneNodes(*file_->root))
            if (e.name == name) return e.node;
        return nullptr;
    }
    static std::vector<Vertex> Vertices(const UdfNode& node) {
        const int32_t fvf = node.FindChild("FVF")->AsInt();
        const uint32_t stride = FvfStride(fvf) / 4, uv = 3 + ((fvf & 0x10) ? 3 : 0) + ((fvf & 0x40) ? 1 : 0);
        const UdfNode* verts = node.FindChild("Verts");
        std::vector<Vertex> out;
        for (uint32_t i = 0; i < verts->Size() / 4; i += stride)
            out.push_back({{FloatAt(verts, i), FloatAt(verts, i + 1), FloatAt(verts, i + 2)},
                           FloatAt(verts, i + uv), FloatAt(verts, i + uv + 1)});
        return out;
    }
    // The position track; empty when the node has none.
    static std::vector<Key> Slide(const UdfNode& node, std::string* type = nullptr) {
        const UdfNode* animation = node.FindChild("Animation");
        const UdfNode* track = animation ? animation->FindChild("Position") : nullptr;
        std::vector<Key> keys;
        if (!track) return keys;
        if (type) *type = track->TypeName().c_str();
        for (uint32_t k = 0; k < track->ChildCount(); ++k) {
            const UdfNode* key = track->FindChild(std::to_string(k));
            keys.push_back({FloatAt(key, 0), {FloatAt(key, 1), FloatAt(key, 2), FloatAt(key, 3)}});
        }
        return keys;
    }
    // The last key time of every track in the scene: the loop the application plays them in.
    static float LoopSeconds() {
        float end = 0;
        for (const SceneEntry& e : SceneNodes(*file_->root))
            if (const UdfNode* animation = e.node->FindChild("Animation"))
                for (const auto& track : animation->Children()) {
                    const UdfNode* last = track.node->FindChild(std::to_string(track.node->ChildCount() - 1));
                    end = std::max(end, FloatAt(last, 0));
                }
        return end;
    }
    // Texture coordinates per centimetre along y (rain) or z (clouds) over the quad.
    static float RepeatsPerCm(const std::vector<Vertex>& quad, bool alongY) {
        const auto [low, high] = std::minmax_element(quad.begin(), quad.end(), [&](const Vertex& a, const Vertex& b) {
            return alongY ? a.position.y < b.position.y : a.position.z < b.position.z;
        });
        const float span = alongY ? high->position.y - low->position.y : high->position.z - low->position.z;
        return std::fabs(alongY ? high->v - low->v : high->u - low->u) / span;
    }

    static inline BinaryFile* file_ = nullptr;
};

gfx::ArgbImage Picture(const std::string& file) {
    const std::vector<uint8_t> bytes = ReadFile(MediaDir() + "/" + file);
    gfx::DecodedImage image;
    EXPECT_EQ(gfx::DecodeImage(bytes, gfx::ImageLimits{}, image), 0) << file;
    return image.LevelCount() ? image.Argb(0) : gfx::ArgbImage{};
}

float Alpha(const gfx::ArgbImage& p, uint32_t x, uint32_t y) { return static_cast<float>(p.Row(y)[x] >> 24) / 255; }

// Mean and largest alpha step between column a and column b (or rows, with `rows`).
std::pair<float, float> Step(const gfx::ArgbImage& p, uint32_t a, uint32_t b, bool rows) {
    const uint32_t n = rows ? p.width : p.height;
    float sum = 0, most = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const float d = rows ? std::fabs(Alpha(p, i, a) - Alpha(p, i, b)) : std::fabs(Alpha(p, a, i) - Alpha(p, b, i));
        sum += d;
        most = std::max(most, d);
    }
    return {sum / static_cast<float>(n), most};
}

// The picture's seam (last column to first, last row to first) is no sharper than its own
// neighbouring columns and rows: on average, and at its worst.
void ExpectTiles(const gfx::ArgbImage& p, bool acrossRows) {
    const uint32_t n = acrossRows ? p.height : p.width;
    float meanInside = 0, mostInside = 0;
    for (uint32_t i = 0; i + 1 < n; ++i) {
        const auto [mean, most] = Step(p, i, i + 1, acrossRows);
        meanInside += mean / static_cast<float>(n - 1);
        mostInside = std::max(mostInside, most);
    }
    const auto [meanSeam, mostSeam] = Step(p, n - 1, 0, acrossRows);
    EXPECT_LE(meanSeam, 2 * meanInside + 1.0f / 255) << (acrossRows ? "top to bottom" : "side to side");
    EXPECT_LE(mostSeam, mostInside + 1.0f / 255) << (acrossRows ? "top to bottom" : "side to side");
}

TEST_F(WindowView, WhatMovesSlidesByWholeTilesOfItsTextureWithinTheLoop) {
    ASSERT_TRUE(file_->root);
    const float loop = LoopSeconds();
    struct Layer {
        const char* name;
        bool alongY;
        float speed = 0;  // cm a second
    };
    Layer layers[] = {{"Window panes", true}, {"Window rain", true}, {"Window clouds", false}};
    for (Layer& layer : layers) {
        SCOPED_TRACE(layer.name);
        const UdfNode* node = Node(layer.name);
        ASSERT_NE(node, nullptr);
        std::string type;
        const std::vector<Key> keys = Slide(*node, &type);
        ASSERT_GE(keys.size(), 2u);
        EXPECT_EQ(type, "Linear") << "a curve through the keys would overshoot at every jump back";
        ASSERT_EQ(keys.size() % 2, 0u);
        const float tile = 1 / RepeatsPerCm(Vertices(*node), layer.alongY);
        // Pairs of keys: from rest, one tile along, then back at once (where the texture looks
        // the same) for the next lap; the last lap ends with the loop.
        const float lap = loop / static_cast<float>(keys.size() / 2);
        for (size_t k = 0; k < keys.size(); k += 2) {
            const Key& from = keys[k];
            const Key& to = keys[k + 1];
            EXPECT_NEAR(from.time, lap * static_cast<float>(k / 2), 1e-3f);
            EXPECT_NEAR(to.time, from.time + lap, 1e-3f);
            EXPECT_EQ(from.offset.x, 0.0f);
            EXPECT_EQ(from.offset.y, 0.0f);
            EXPECT_EQ(from.offset.z, 0.0f);
            EXPECT_NEAR(math::Length(to.offset), tile, 1e-3f * tile);
            EXPECT_LT(layer.alongY ? to.offset.y : to.offset.z, 0.0f) << "rain runs down, clouds blow to the right";
        }
        EXPECT_FLOAT_EQ(keys.back().time, loop);
        layer.speed = tile / lap;
    }
    // Two layers of rain at different paces: drops creeping, trickles running; clouds at a
    // cloud's pace.
    EXPECT_GE(layers[1].speed, 5.0f);
    EXPECT_LE(layers[1].speed, 25.0f);
    EXPECT_LT(layers[0].speed, layers[1].speed / 4);
    EXPECT_GE(layers[2].speed, 2.0f);
    EXPECT_LE(layers[2].speed, 10.0f);
}

// A sliding quad shows its edge if it does not reach past the opening at either end of its slide;
// what it has beyond lies behind the wall.
TEST_F(WindowView, SlidingQuadsCoverTheOpeningAtEveryMomentFromBehindTheWall) {
    for (const char* name : {"Window panes", "Window rain"}) {
        SCOPED_TRACE(name);
        const std::vector<Vertex> quad = Vertices(*Node(name));
        const Key end = Slide(*Node(name))[1];
        float low = 1e9f, high = -1e9f, left = 1e9f, right = -1e9f;
        for (const Vertex& v : quad) {
            EXPECT_GT(v.position.x, room::kRoomMax.x);
            EXPECT_LT(v.position.x, room::kRoomMax.x + room::kWallThickness);
            low = std::min(low, v.position.y), high = std::max(high, v.position.y);
            left = std::min(left, v.position.z), right = std::max(right, v.position.z);
        }
        EXPECT_LE(low + end.offset.y, room::kDadoHeight);  // at the end of a lap
        EXPECT_GE(high + end.offset.y, room::kWindowTop);
        EXPECT_LE(low, room::kDadoHeight);                  // at its start
        EXPECT_GE(high, room::kWindowTop);
        EXPECT_LE(left, room::kWindowMin.z);
        EXPECT_GE(right, room::kWindowMax.z);
    }
    const std::vector<Vertex> clouds = Vertices(*Node("Window clouds"));
    const float drift = Slide(*Node("Window clouds"))[1].offset.z;
    float left = 1e9f, right = -1e9f;
    for (const Vertex& v : clouds) left = std::min(left, v.position.z), right = std::max(right, v.position.z);
    EXPECT_LE(left + drift, room::kOutdoorMin.z);
    EXPECT_LE(left, room::kOutdoorMin.z);
    EXPECT_GE(right + drift, room::kOutdoorMax.z);
    EXPECT_GE(right, room::kOutdoorMax.z);
}

TEST_F(WindowView, SlidingTexturesTileAndTheCloudsFadeOutAtTheirEdges) {
    for (const char* file : {"Rain.png", "RainTrickles.png"}) {
        SCOPED_TRACE(file);
        const gfx::ArgbImage rain = Picture(file);
        ASSERT_GT(rain.width, 0u);
        ExpectTiles(rain, false);
        ExpectTiles(rain, true);
    }
    const gfx::ArgbImage clouds = Picture("Clouds.png");
    ASSERT_GT(clouds.width, 0u);
    ExpectTiles(clouds, false);
    // The quad's top and bottom rows are clear, so the band never shows a straight edge.
    for (uint32_t x = 0; x < clouds.width; ++x) {
        ASSERT_EQ(Alpha(clouds, x, 0), 0.0f) << x;
        ASSERT_EQ(Alpha(clouds, x, clouds.height - 1), 0.0f) << x;
    }
}

// The closest path looks at the hills from about 160 cm: the landscape has at least 3 texels a
// centimetre across and 2 down, and the hills' edges are drawn by coverage, so magnified they
// blend instead of stepping.
TEST_F(WindowView, HillsArePaintedFineWithSoftEdgesAndHideTheSkyBelowThem) {
    const gfx::ArgbImage landscape = Picture("Landscape.dds");
    ASSERT_GT(landscape.width, 0u);
    EXPECT_GE(static_cast<float>(landscape.width) / (room::kLandscapeMax.z - room::kLandscapeMin.z), 3.0f);
    EXPECT_GE(static_cast<float>(landscape.height) / (room::kLandscapeMax.y - room::kLandscapeMin.y), 2.0f);
    // The ridge's edge passes through a texel it only partly covers: the partial alpha keeps the
    // line's place within the texel. Texels either clear or solid would put the edge on the texel
    // grid, which magnified shows as steps. (A line drawn by coverage still fills its texel to
    // 98 % or more in about one column of fifty.)
    const gfx::ArgbImage hills = room::PaintHills(1024, 512).ToImage();
    uint32_t hardEdges = 0;
    for (uint32_t x = 0; x < hills.width; ++x) {
        ASSERT_EQ(Alpha(hills, x, 0), 0.0f) << "the sky shows above the ridges, column " << x;
        ASSERT_EQ(Alpha(hills, x, hills.height - 1), 1.0f) << "the fields hide the sky, column " << x;
        uint32_t y = 0;
        while (Alpha(hills, x, y) == 0.0f) ++y;
        hardEdges += Alpha(hills, x, y) > 0.98f;
    }
    EXPECT_LT(hardEdges, hills.width / 10);
}

}  // namespace
