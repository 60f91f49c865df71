// udftool's scene commands on a scene file written by the test.

#include <gtest/gtest.h>

#include "platform/gfx/loader/Image.h"
#include "scene/HandWorkedScene.h"
#include "support/Files.h"
#include "support/ImageFile.h"
#include "support/Shell.h"
#include "support/TempDir.h"

using testing_support::RunShell;
using testing_support::ShellQuote;

namespace {

class SceneTool : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = scenefiles::BuildHandWorkedScene(dir_.path());
        scenefiles::SaveBytes(*root_, Path("scene.udf"));
    }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }
    // Standard output; the status goes to `status`.
    std::string Tool(const std::string& args, int& status, const std::string& environment = "") {
        auto [code, out] =
            RunShell(environment + std::string(UDFTOOL_PATH) + " " + args + " 2>" + ShellQuote(Path("err.txt")));
        status = code;
        return out;
    }

    TempDir dir_;
    std::unique_ptr<UdfNode> root_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SceneTool, SceneListsMaterialsLightsAndNodesAsJson) {
    int status = 0;
    const std::string json = Tool("scene " + ShellQuote(Path("scene.udf")), status);
    ASSERT_EQ(status, 0) << ReadFile(Path("err.txt"));
    EXPECT_EQ(json.rfind("{\"loaded\":true,\"materials\":[{\"name\":\"Orange\",\"blendMode\":0,", 0), 0u) << json;
    // The light-mapped material: stage 1 MODULATE2X of CURRENT and its texture from set 1, then
    // the disabled stage 2 that ends the list.
    EXPECT_TRUE(Has(json, "{\"colorOp\":5,\"alphaOp\":100,\"colorArg0\":0,\"colorArg1\":1,\"colorArg2\":2,"
                          "\"alphaArg0\":0,\"alphaArg1\":2,\"alphaArg2\":0,\"texture\":\"lightmap.tga\","
                          "\"texCoordIndex\":1,\"addressU\":1,\"addressV\":1},{\"colorOp\":1,"))
        << json;
    EXPECT_TRUE(Has(json, "{\"name\":\"Lamp\",\"type\":1,\"position\":[-4,4,-2],\"direction\":[0,-1,0],\"range\":3,"
                          "\"theta\":0,\"phi\":0,\"attenuation\":[0,0.5,0],\"diffuse\":[1,1,1,1]}"))
        << json;
    EXPECT_TRUE(Has(json, "\"name\":\"Spot\",\"type\":2")) << json;
    EXPECT_TRUE(Has(json, "{\"name\":\"Strip\",\"type\":\"Mesh\",\"renderable\":{\"kind\":\"skinned\",\"triangles\":8,"
                          "\"vertices\":16,\"stride\":40,\"fvf\":530,\"indexFormat\":101,\"vertexUsage\":512,"
                          "\"indexUsage\":8,\"bounds\":["))
        << json;
    EXPECT_TRUE(Has(json, "{\"name\":\"Bone0\",\"type\":\"Bone\",\"renderable\":null,\"animations\":[],\"children\":[]}"))
        << json;
}

TEST_F(SceneTool, SceneReportsAPartialLoadAndFailsOnAMissingFile) {
    // A skinned mesh whose bone is missing fails the load; the rest is still listed.
    UdfNode* children = root_->FindChild("Children");
    delete children->Detach("Bone3");
    scenefiles::SaveBytes(*root_, Path("broken.udf"));
    int status = 0;
    const std::string json = Tool("scene " + ShellQuote(Path("broken.udf")), status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(json.rfind("{\"loaded\":false,", 0), 0u) << json;
    EXPECT_TRUE(Has(json, "\"name\":\"PointLit\"")) << json;

    Tool("scene " + ShellQuote(Path("absent.udf")), status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Has(ReadFile(Path("err.txt")), "absent.udf: cannot read"));
}

TEST_F(SceneTool, RenderDrawsTheSceneIntoAPng) {
    int status = 0;
    // Mesa keeps allocations for the process's life: the tool runs without leak detection here.
    Tool("render " + ShellQuote(Path("scene.udf")) + " --eye 0,0,-10 --at 0,0,0 --size 120x120 --ambient 0 --out " +
             ShellQuote(Path("frame.png")),
         status, "ASAN_OPTIONS=detect_leaks=0 ");
    ASSERT_EQ(status, 0) << ReadFile(Path("err.txt"));
    gfx::ArgbImage image;
    ASSERT_TRUE(ReadImageFile(Path("frame.png"), image));
    ASSERT_EQ(image.width, 120u);
    // The additive square in the middle: grey plus the glow texel.
    EXPECT_EQ(image.pixels[60 * 120 + 60] & 0xFFFFFF, 0x70A050u);

    Tool("render " + ShellQuote(Path("scene.udf")) + " --size 12", status);
    EXPECT_EQ(status, 2);
}

}  // namespace
