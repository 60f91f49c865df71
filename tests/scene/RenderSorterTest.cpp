// The render pass: camera matrices and culling, the sorter's draw order, texture switches and
// per-renderable light selection.

#include <cmath>

#include "SceneFixture.h"
#include "SceneTestSupport.h"
#include "platform/gfx/States.h"
#include "scene/RenderSorter.h"

using namespace gfx;
using namespace scenefiles;

namespace {

TEST(RenderCamera, DefaultsBuildTheLeftHandedMatricesAndRebuildAfterAChange) {
    RenderCamera camera;
    EXPECT_EQ(camera.getEye(), (math::Vec3{0, 0, 0}));
    EXPECT_EQ(camera.getDirection(), (math::Vec3{0, 0, 1}));
    EXPECT_FLOAT_EQ(camera.getFov(), 1.0471976f);
    const float cot = 1.0f / std::tan(1.0471976f / 2);
    EXPECT_NEAR(camera.getProjection().m(0, 0), cot / 0.75f, 1e-5);
    EXPECT_NEAR(camera.getProjection().m(1, 1), cot, 1e-5);
    EXPECT_NEAR(camera.getProjection().m(2, 2), 1000.0f / 999.0f, 1e-5);
    EXPECT_NEAR(camera.getProjection().m(3, 2), -1000.0f / 999.0f, 1e-5);
    EXPECT_EQ(camera.getProjection().m(2, 3), 1.0f);
    ExpectNear(camera.getView().m, math::Identity());

    camera.lookAt({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    ExpectNear(camera.getView().m, math::Translation(0, 0, 10));
    ExpectNear(camera.getViewProjection().m, math::Multiply(math::Translation(0, 0, 10), camera.getProjection().m));
    // The far corners lie on the far plane, 1000 in front of the eye.
    EXPECT_NEAR(camera.getFrustumCorners()[4].z, 990.0f, 0.1f);
    EXPECT_NEAR(camera.getFrustumCorners()[0].z, -9.0f, 1e-4f);
}

TEST(RenderCamera, BoxesOutsideASidePlaneAreNotVisible) {
    RenderCamera camera;
    EXPECT_TRUE(camera.isVisible({{-1, -1, 4}, {1, 1, 6}}));
    EXPECT_FALSE(camera.isVisible({{-1, -1, -6}, {1, 1, -4}}));  // behind the eye
    EXPECT_FALSE(camera.isVisible({{-30, -1, 9}, {-20, 1, 11}}));  // far to the left
    EXPECT_TRUE(camera.isVisible({{-30, -1, 9}, {0, 1, 11}}));     // straddles the left plane
    EXPECT_FALSE(camera.isVisible({{-1, 20, 9}, {1, 30, 11}}));   // above
}

// Logs its id when drawn.
class LoggedRenderable final : public Renderable {
public:
    LoggedRenderable(int id, std::vector<int>& log, math::Vec3 at, bool ok = true)
        : id_(id), log_(log), ok_(ok) {
        bounds_ = {at, at + math::Vec3{1, 1, 1}};
    }
    void updateBounds() override {}
    bool draw() override {
        log_.push_back(id_);
        return ok_;
    }

private:
    int id_;
    std::vector<int>& log_;
    bool ok_;
};

class RenderSorterTest : public RecordingDeviceTest {};

TEST_F(RenderSorterTest, OpaqueBucketsByTextureComeFirstThenTransparentOnesFromFarToNear) {
    std::vector<int> log;
    const auto texture1 = MakeTexture(D3DFMT_X8R8G8B8);
    const auto texture2 = MakeTexture(D3DFMT_X8R8G8B8);
    ::Texture* t1 = texture1.get();
    ::Texture* t2 = texture2.get();
    std::vector<std::unique_ptr<LoggedRenderable>> items;
    auto make = [&](int id, math::Vec3 at, ::Texture* texture, bool transparent, bool ok = true) {
        items.push_back(std::make_unique<LoggedRenderable>(id, log, at, ok));
        StateBlock& block = items.back()->getStateBlock();
        block.stages[0].texture = texture;
        if (transparent) block.setAlphaUse(1);
        return items.back().get();
    };
    RenderSorter sorter;
    sorter.add(*make(1, {0, 0, 3}, t1, false));
    sorter.add(*make(2, {0, 0, 5}, t2, false));
    sorter.add(*make(3, {0, 0, 2}, t1, false));
    sorter.add(*make(4, {0, 0, 5}, nullptr, false, false));
    sorter.add(*make(5, {0, 0, 5}, nullptr, true));
    sorter.add(*make(6, {0, 0, 10}, nullptr, true));
    sorter.add(*make(7, {0, 0, 10}, t1, true));
    sorter.add(*make(8, {0, 0, 1}, nullptr, true));
    EXPECT_EQ(sorter.opaqueBucketCount(), 3u);
    EXPECT_EQ(sorter.transparentCount(), 4u);

    // A failed draw clears the ok bit; the rest is still drawn.
    EXPECT_FALSE(sorter.flush().ok);
    EXPECT_EQ(log, (std::vector<int>{1, 3, 2, 4, 6, 7, 5, 8}));

    // The next pass starts empty and keeps the insertion order of its own buckets.
    log.clear();
    sorter.reset(RenderCamera());
    sorter.add(*items[1]);
    sorter.add(*items[0]);
    EXPECT_TRUE(sorter.flush().ok);
    EXPECT_EQ(log, (std::vector<int>{2, 1}));
}

class ScenePassTest : public SceneTest {};

TEST_F(ScenePassTest, MeshesSharingATextureAreDrawnTogetherAndHiddenOrCulledOnesNotAtAll) {
    WriteTga(PathOf("a.tga"), 1, 1, {0xFFFF0000}, false);
    WriteTga(PathOf("b.tga"), 1, 1, {0xFF00FF00}, false);
    for (const char* name : {"A", "B"}) {
        UdfNode* material = AddStruct(Materials(), name, "Material");
        AddStruct(*AddStruct(*material, "Textures", "Texture"), "Map", "Diffuse")
            ->AddString("FileName", (std::string(name) == "A" ? "a.tga" : "b.tga"));
    }
    for (int i = 0; i < 6; ++i) {
        const std::string name = "Mesh" + std::to_string(i);
        AddSquareMesh(Children(), name.c_str(), float(i) - 3, 0, 0.4f, 10)->AddString("MaterialName", i % 2 ? "B" : "A");
    }
    AddSquareMesh(Children(), "Behind", 0, 0, 1, -10);
    AddSquareMesh(Children(), "Hidden", 0, 0, 1, 10);
    ASSERT_TRUE(Load());
    MeshOf("Hidden")->setHidden(true);

    RenderSorter sorter;
    device_.ClearCalls();
    ASSERT_TRUE(RunScenePass(scene_->root(), sorter).flushed.ok);
    EXPECT_EQ(device_.CountCalls("DrawIndexedPrimitive"), 6u);
    EXPECT_EQ(CallsStartingWith("SetTexture(0,").size(), 2u);
    EXPECT_EQ(device_.Transform(D3DTS_VIEW), RenderCamera().getView().m);
    EXPECT_EQ(device_.CountCalls("SetFVF"), 1u);

    // Without culling the mesh behind the camera is drawn too. A format set behind the scene's
    // back (as quads and text set theirs) is replaced.
    device_.SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    sorter.reset(RenderCamera());
    sorter.flags = RenderContext::kSkipVisibility;
    device_.ClearCalls();
    ASSERT_TRUE(RunScenePass(scene_->root(), sorter).flushed.ok);
    EXPECT_EQ(device_.CountCalls("DrawIndexedPrimitive"), 7u);
    EXPECT_EQ(device_.CountCalls("SetFVF"), 1u);
    EXPECT_EQ(device_.Fvf(), kFvf);
}

TEST_F(ScenePassTest, LightsAreSwitchedPerMeshByTheirReachAndOffAtTheEnd) {
    AddSquareMesh(Children(), "Near", -5, 0, 1, 20);
    AddSquareMesh(Children(), "Far", 5, 0, 1, 20);
    UdfNode* lamp = AddNode(Lights(), "Lamp", "PointLight", math::Translation(-5, 0, 18));
    lamp->AddReal("AttEnd", 3);
    UdfNode* spot = AddNode(Lights(), "Spot", "SpotLight", math::Translation(5, 10, 20));  // points down -y
    spot->AddReal("AttEnd", 11);
    spot->AddReal("FallOff", 0.5f);
    AddNode(Lights(), "Sun", "DirLight", math::Identity());
    ASSERT_TRUE(Load());

    RenderSorter sorter;
    sorter.setLights(&scene_->lights());
    device_.ClearCalls();
    ASSERT_TRUE(RunScenePass(scene_->root(), sorter).flushed.ok);
    std::vector<std::string> order;
    for (const std::string& call : device_.Calls())
        if (call.rfind("SetLight(", 0) == 0 || call.rfind("LightEnable(", 0) == 0 || call.rfind("DrawIndexed", 0) == 0)
            order.push_back(call.rfind("Draw", 0) == 0 ? "DrawIndexed" : call.substr(0, call.find('(') + 5));
    const std::vector<std::string> expected = {
        "SetLight(0)", "SetLight(1)", "SetLight(2)",
        "LightEnable(0, 1", "LightEnable(1, 0", "LightEnable(2, 1", "DrawIndexed",  // Near
        "LightEnable(0, 0", "LightEnable(1, 1", "DrawIndexed",                      // Far
        "LightEnable(1, 0", "LightEnable(2, 0"};
    EXPECT_EQ(order, expected);
}

TEST(LightReach, EachKindTestsItsOwnShape) {
    Light light;
    const BoundingBox box{{10, 0, 0}, {11, 1, 1}};
    light.light.Type = D3DLIGHT_DIRECTIONAL;
    EXPECT_TRUE(light.reaches(box));
    light.light.Type = D3DLIGHT_POINT;
    light.light.Range = 9.5f;
    EXPECT_FALSE(light.reaches(box));
    light.light.Range = 10.5f;
    EXPECT_TRUE(light.reaches(box));
    light.light.Range = 0;
    EXPECT_FALSE(light.reaches({{-1, -1, -1}, {1, 1, 1}}));
    light.light.Type = D3DLIGHT_SPOT;
    light.light.Range = 20;
    light.light.Phi = 0.2f;
    light.light.Direction = {1, 0, 0};
    EXPECT_TRUE(light.reaches(box));
    light.light.Direction = {-1, 0, 0};
    EXPECT_FALSE(light.reaches(box));
    light.light.Direction = {0, 0, 0};
    EXPECT_FALSE(light.reaches({{-1, -1, -1}, {1, 1, 1}}));
    light.light.Direction = {1, 0, 0};
    light.light.Range = 0.001f;
    EXPECT_FALSE(light.reaches({{-1, -1, -1}, {1, 1, 1}}));
}

}  // namespace
