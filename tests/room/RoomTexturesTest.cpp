// Materials, their textures in the archive the program mounts, and the light maps' stage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "RoomMedia.h"
#include "platform/gfx/loader/Image.h"
#include "resources/RarArchive.h"

using namespace roomtest;

namespace {

// Materials by name: the surface texture file (sub-material 0, or the material itself) and the
// light map's (sub-material 1), empty when there is none.
struct MaterialFiles {
    std::string surface, lightMap;
    int lightMapId = -1;
};

std::string SlotFile(const UdfNode* material) {
    const UdfNode* textures = material ? material->FindChild("Textures") : nullptr;
    if (!textures) return {};
    for (const auto& entry : textures->Children())
        if (std::string(entry.node->TypeName().c_str()) == "Diffuse") return Text(entry.node->FindChild("FileName"));
    return {};
}

std::map<std::string, MaterialFiles> Materials(const UdfNode& root) {
    std::map<std::string, MaterialFiles> out;
    for (const auto& entry : root.FindChild("Materials")->Children()) {
        MaterialFiles m;
        if (const UdfNode* subs = entry.node->FindChild("Materials")) {
            for (const auto& sub : subs->Children()) {
                const int id = sub.node->FindChild("MaterialSubId")->AsInt();
                if (id == 0) m.surface = SlotFile(sub.node);
                if (id == 1 && std::string(sub.name.c_str()).find("LightMap") != std::string::npos) {
                    m.lightMap = SlotFile(sub.node);
                    m.lightMapId = id;
                }
            }
        } else {
            m.surface = SlotFile(entry.node);
        }
        out[entry.name.c_str()] = m;
    }
    return out;
}

class RoomTextures : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = LoadBinary(MediaDir() + "/clock.UDF");
        ASSERT_TRUE(file_.root);
        materials_ = Materials(*file_.root);
        ASSERT_TRUE(archive_.Open(FileSource(EngineString(ArchivePath().c_str()))));
    }
    BinaryFile file_;
    std::map<std::string, MaterialFiles> materials_;
    RarArchive archive_;
};

TEST_F(RoomTextures, EveryTextureIsInTheArchiveAndDecodesAtATextureSize) {
    std::set<std::string> files;
    for (const auto& [name, m] : materials_) {
        EXPECT_FALSE(m.surface.empty()) << name;
        files.insert(m.surface);
        if (!m.lightMap.empty()) files.insert(m.lightMap);
    }
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        ByteBlock bytes;
        ASSERT_EQ(archive_.Extract("Media\\" + f, bytes), RarArchive::Result::kOk);
        gfx::DecodedImage image;
        ASSERT_EQ(gfx::DecodeImage(bytes.Bytes(), gfx::ImageLimits{}, image), 0);
        for (uint32_t side : {image.info.Width, image.info.Height}) {
            EXPECT_GE(side, 256u);
            EXPECT_LE(side, f == "Landscape.dds" ? 2048u : 1024u);  // the closest path looks at the hills
            EXPECT_EQ(side & (side - 1), 0u);
        }
        // Block-compressed textures bring every level down to 1 x 1, and are opaque everywhere:
        // once the application swaps a light map in, texture alpha decides what is drawn.
        if (f.ends_with(".dds")) {
            for (uint32_t p : image.Argb(0).pixels) ASSERT_EQ(p >> 24, 255u) << "a transparent texel";
            uint32_t levels = 1, side = std::max(image.info.Width, image.info.Height);
            while (side > 1) side /= 2, ++levels;
            EXPECT_EQ(image.LevelCount(), levels);
        }
    }
}

TEST_F(RoomTextures, LightMappedMeshesUseSubMaterialOneWithTheSecondCoordinateSet) {
    int lightMapped = 0;
    for (const SceneEntry& e : SceneNodes(*file_.root)) {
        const UdfNode* fvf = e.node->FindChild("FVF");
        if (!fvf) continue;
        const auto material = materials_.find(Text(e.node->FindChild("MaterialName")));
        ASSERT_NE(material, materials_.end()) << e.name;
        const bool twoSets = ((fvf->AsInt() >> 8) & 0xF) == 2;
        EXPECT_EQ(twoSets, !material->second.lightMap.empty()) << e.name;
        if (!twoSets) continue;
        ++lightMapped;
        EXPECT_EQ(material->second.lightMapId, 1);
        // Set 1 stays inside the page.
        const UdfNode* verts = e.node->FindChild("Verts");
        for (uint32_t v = 0; v < verts->Size() / 40; ++v)
            for (uint32_t c : {8u, 9u}) {
                const float t = FloatAt(verts, v * 10 + c);
                ASSERT_GT(t, 0.0f) << e.name;
                ASSERT_LT(t, 1.0f) << e.name;
            }
    }
    EXPECT_GT(lightMapped, 15);
    // The landscape and the lamp's glow are drawn on their own: a second stage there would be
    // taken for a light map and swapped by the application.
    for (const char* name : {"Landscape", "Lampshade", "Glass", "Velvet", "Blued steel"})
        EXPECT_TRUE(materials_.at(name).lightMap.empty()) << name;
    EXPECT_EQ(materials_.at("Painting").surface, "Painting.dds");
}

// Light maps are dim (0.5 shows a texture as painted), brightest near the lamp, and never black
// where there is surface.
TEST_F(RoomTextures, LightMapsAreDimButNotBlack) {
    ByteBlock bytes;
    ASSERT_EQ(archive_.Extract("Media\\LightMap1.png", bytes), RarArchive::Result::kOk);
    gfx::DecodedImage image;
    ASSERT_EQ(gfx::DecodeImage(bytes.Bytes(), gfx::ImageLimits{}, image), 0);
    const gfx::ArgbImage& level = image.Argb(0);
    std::vector<int> histogram(256);
    int brightest = 0;
    for (uint32_t p : level.pixels) {
        const int grey = static_cast<int>(((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3);
        if (grey == 0) continue;  // unused page area
        ++histogram[static_cast<size_t>(grey)];
        brightest = std::max(brightest, grey);
    }
    int total = 0, median = -1, seen = 0;
    for (int h : histogram) total += h;
    for (int g = 0; g < 256 && median < 0; ++g)
        if ((seen += histogram[static_cast<size_t>(g)]) * 2 >= total) median = g;
    EXPECT_GT(total, 100000);
    EXPECT_GT(median, 10);    // the room is never pitch black
    EXPECT_LT(median, 90);    // mostly between 0.1 and 0.3
    EXPECT_GT(brightest, 150);  // the lamp's pool
}

TEST(RoomArchive, ExternalToolsListAndTestIt) {
    const std::string archive = ArchivePath();
    for (const std::string& command : {"7z t '" + archive + "' > /dev/null 2>&1", "lsar -t '" + archive + "' > /dev/null 2>&1",
                                       "bsdtar tf '" + archive + "' > /dev/null 2>&1"}) {
        const std::string tool = command.substr(0, command.find(' '));
        if (std::system(("command -v " + tool + " > /dev/null").c_str()) != 0) {
            GTEST_SKIP() << tool << " is not installed (scripts/packages/data.txt)";
        }
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

}  // namespace
