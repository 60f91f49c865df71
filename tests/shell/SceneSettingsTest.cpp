// The keys of the scene settings file.

#include "shell/SceneSettings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "resources/MemoryStream.h"
#include "udf/UdfTextParser.h"

namespace {

struct Parsed {
    SceneSettings settings;
    std::vector<EngineString> paths;
};

Parsed Read(const char* text) {
    MemoryStream stream;
    stream.Refer(reinterpret_cast<const uint8_t*>(text), static_cast<uint32_t>(std::strlen(text)));
    stream.Open(nullptr, DataStream::kRead);
    UdfTextNode root;
    ParseUdfText(stream, root, nullptr);
    Parsed parsed;
    ReadSceneProps(root, parsed.settings, parsed.paths);
    return parsed;
}

}  // namespace

TEST(SceneSettings, DeliveredKeysSetColoursProjectionAndPaths) {
    const Parsed parsed = Read(
        "Ambient = array(255,255,255); BgColor = array(0,0,0); FogColor = array(100,100,100);\n"
        "NearPlane = 0.1; FarPlane = 1000; FogStart = 2000; FogEnd = 2000; Fov = 70; CamSpeed = 0.1;\n"
        "Animations = array(\"c1.cam\", \"c2.cam\", \"c10.cam\"); Debug = 1;\n");
    const SceneSettings& s = parsed.settings;
    EXPECT_EQ(s.ambient, (EngineColor{1, 1, 1, 1}));
    EXPECT_EQ(s.bgColor, (EngineColor{1, 0, 0, 0}));
    EXPECT_FLOAT_EQ(s.fogColor.g, 100.0f / 255);
    EXPECT_FLOAT_EQ(s.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(s.farPlane, 1000.0f);
    EXPECT_FLOAT_EQ(s.fogStart, 2000.0f);
    EXPECT_FLOAT_EQ(s.fogEnd, 2000.0f);
    EXPECT_FLOAT_EQ(s.fov, 1.2217305f);
    EXPECT_FLOAT_EQ(s.camSpeed, 0.1f);
    EXPECT_FALSE(s.fogEnabled);
    ASSERT_EQ(parsed.paths.size(), 3u);
    EXPECT_EQ(parsed.paths[0], "c1.cam");
    EXPECT_EQ(parsed.paths[2], "c10.cam");
}

TEST(SceneSettings, MissingKeysKeepTheirValues) {
    const Parsed parsed = Read("Fov = 45;");
    const SceneSettings defaults;
    EXPECT_EQ(parsed.settings.ambient, defaults.ambient);
    EXPECT_EQ(parsed.settings.bgColor, (EngineColor{1, 100.0f / 255, 0, 0}));
    EXPECT_FLOAT_EQ(parsed.settings.nearPlane, 1.0f);
    EXPECT_FLOAT_EQ(parsed.settings.farPlane, 1500.0f);
    EXPECT_FLOAT_EQ(parsed.settings.fov, 0.78539819f);
    EXPECT_TRUE(parsed.paths.empty());
}
