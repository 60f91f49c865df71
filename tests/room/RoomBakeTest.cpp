// The generator's output does not depend on how its work is shared out: light bakes with one and
// two workers, and scene files written twice, give the same bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "LightBaker.h"
#include "Model.h"
#include "RoomMedia.h"
#include "SceneFile.h"

using namespace roomtest;

namespace {

room::RoomModel ClockOnly() {
    room::RoomModel model;
    room::BuildClock(model);
    return model;
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
