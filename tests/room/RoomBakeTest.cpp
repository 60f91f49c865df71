// The room's light bake: the window's cool light, nothing baked beyond a wink's reach, and output
// that does not depend on how the work is shared out (one or two workers, scene files written twice).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "LightBaker.h"
#include "LightTracer.h"
#include "Model.h"
#include "RoomLayout.h"
#include "RoomMedia.h"
#include "SceneFile.h"

using namespace roomtest;

namespace {

room::RoomModel ClockOnly() {
    room::RoomModel model;
    room::BuildClock(model);
    return model;
}

// The window is a cool area light: its sky reaches the sill, the boards in front of it and the folds
// of the curtain that face it at a level that keeps a colour under the default Gamma's lift.
TEST(RoomBake, TheWindowLightsItsCornerCoolly) {
    room::RoomModel model;
    room::BuildRoom(model);
    std::vector<room::Mesh> world;
    room::ForEachObject(model.objects, math::Identity(), [&](const room::SceneObject& o, const math::Mat4& m) {
        if (!o.castsShadow || o.mesh.indices.empty()) return;
        world.push_back(o.mesh);
        world.back().Transform(m);
    });
    std::vector<const room::Mesh*> occluders;
    for (const room::Mesh& mesh : world) occluders.push_back(&mesh);
    const room::LightTracer tracer(occluders);
    // The boards, further from the opening and under the wall below it, get less; the middle of
    // the room, and the wall behind the lamp, next to none.
    const struct {
        const char* name;
        math::Vec3 position, normal;
        float least, most;
    } spots[] = {
        {"sill", {196, 90.05f, -120}, {0, 1, 0}, 0.10f, 0.15f},
        {"curtain", {186, 150, -150}, math::Normalize({-0.3f, 0, 1}), 0.10f, 0.15f},
        {"floor", {150, 0.05f, -115}, {0, 1, 0}, 0.02f, 0.15f},
        {"mid-room floor", {0, 0.05f, 0}, {0, 1, 0}, 0.0f, 0.02f},
        {"wall by the lamp", {199.9f, 150, 100}, {-1, 0, 0}, 0.0f, 0.02f},
    };
    for (const auto& spot : spots) {
        paint::Rgb sum{};
        const int seeds = 64;
        for (int seed = 0; seed < seeds; ++seed)
            sum = sum + tracer.Sky(spot.position, spot.normal, static_cast<uint32_t>(seed) * 2654435761u);
        const paint::Rgb sky = sum * (1.0f / seeds);
        const float level = (sky.r + sky.g + sky.b) / 3;
        std::printf("%s: sky %.3f (%.3f, %.3f, %.3f)\n", spot.name, level, sky.r, sky.g, sky.b);
        EXPECT_GE(level, spot.least) << spot.name;
        EXPECT_LE(level, spot.most) << spot.name;
        if (spot.least > 0) {
            EXPECT_GT(sky.b, 1.8f * sky.r) << spot.name;
        }
    }
}

// A wink takes half of full light off every light map, so nothing may be baked much brighter than
// that, the lamp's own parts least of all: the parchment carries only its glow, brightest at the
// lower rim, and the brass and beads beside the bulb stop at the traced light's limit.
TEST(RoomBake, AWinkCanDimTheLampItself) {
    room::RoomModel model;
    room::BuildRoomShell(model);
    room::BuildFurniture(model);
    const std::vector<paint::Canvas> pages = room::BakeLighting(model, 2);
    const auto brightest = [](paint::Rgb c) { return std::max({c.r, c.g, c.b}); };
    float rim = 0, top = 0;
    int rimCount = 0, topCount = 0;
    room::ForEachObject(model.objects, math::Identity(), [&](const room::SceneObject& o, const math::Mat4& world) {
        if (o.lighting != room::Lighting::kLightMap) return;
        SCOPED_TRACE(o.name);
        const paint::Canvas& page = pages.at(static_cast<size_t>(o.lightMapPage));
        float most = 0;
        for (const room::Chart& c : o.mesh.charts)
            for (int y = c.y; y < c.y + c.texelsV; ++y)
                for (int x = c.x; x < c.x + c.texelsU; ++x) most = std::max(most, brightest(page.At(x, y)));
        EXPECT_LE(most, o.name == "Lamp shade" ? 0.7f : 0.851f);
        if (o.name != "Lamp shade") return;
        for (const room::MeshVertex& v : o.mesh.vertices) {
            const float y = math::TransformCoord(v.position, world).y;
            const paint::Rgb light = page.At(static_cast<int>(v.lightUv.x * room::kLightMapSize),
                                             static_cast<int>(v.lightUv.y * room::kLightMapSize));
            if (y < room::kLampShadeBottom + 1) rim += brightest(light), ++rimCount;
            if (y > room::kLampShadeTop - 1) top += brightest(light), ++topCount;
        }
    });
    ASSERT_GT(rimCount, 0);
    ASSERT_GT(topCount, 0);
    EXPECT_GT(rim / static_cast<float>(rimCount), 1.5f * top / static_cast<float>(topCount));
}

TEST(RoomBake, SameLightWhateverTheNumberOfWorkers) {
    room::RoomModel one = ClockOnly(), two = ClockOnly();
    const std::vector<paint::Canvas> a = room::BakeLighting(one, 1);
    const std::vector<paint::Canvas> b = room::BakeLighting(two, 2);
    ASSERT_EQ(a.size(), b.size());
    for (size_t p = 0; p < a.size(); ++p) EXPECT_EQ(a[p].ToImage().pixels, b[p].ToImage().pixels);
    ASSERT_EQ(one.objects.size(), two.objects.size());
    for (size_t o = 0; o < one.objects.size(); ++o)
        for (size_t v = 0; v < one.objects[o].mesh.vertices.size(); ++v) {
            EXPECT_EQ(one.objects[o].mesh.vertices[v].color, two.objects[o].mesh.vertices[v].color);
            EXPECT_EQ(one.objects[o].mesh.vertices[v].lightUv.x, two.objects[o].mesh.vertices[v].lightUv.x);
        }
    // Something was lit, and the moving parts got their light too.
    bool litVertex = false;
    for (const room::SceneObject& o : one.objects)
        if (o.lighting == room::Lighting::kVertex)
            for (const room::MeshVertex& v : o.mesh.vertices) litVertex = litVertex || (v.color & 0xFFFFFF) != 0;
    EXPECT_TRUE(litVertex);
}

TEST(RoomBake, SceneFileBytesRepeat) {
    room::RoomModel model = ClockOnly();
    room::BakeLighting(model, 2);
    const std::string dir = ::testing::TempDir();
    ASSERT_TRUE(room::WriteSceneFile(dir + "/a.UDF", model));
    ASSERT_TRUE(room::WriteSceneFile(dir + "/b.UDF", model));
    const std::vector<uint8_t> a = ReadFile(dir + "/a.UDF");
    EXPECT_GT(a.size(), 1000u);
    EXPECT_EQ(a, ReadFile(dir + "/b.UDF"));
    std::filesystem::remove(dir + "/a.UDF");
    std::filesystem::remove(dir + "/b.UDF");
}

}  // namespace
