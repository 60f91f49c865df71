// The hand-worked scene drawn on the OpenGL device through the scene pass, checked pixel by
// pixel against values computed from the lighting, texture-stage and blending rules.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/States.h"
#include "platform/gfx/gl/HiddenWindow.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "scene/HandWorkedScene.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "scene/RenderSorter.h"
#include "scene/Scene.h"
#include "support/TempDir.h"
#include "textures/TextureManager.h"

using namespace gfx;
using namespace scenefiles;

namespace {

constexpr uint32_t kSize = 120;

struct Rgb {
    double r, g, b;
};

class ScenePixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<gl::HiddenWindow>(kSize, kSize);
        ASSERT_NE(window_->NativeHandle(), nullptr) << window_->Error();
        d3d_ = PlatformDirect3DCreate9(D3D_SDK_VERSION);
        ASSERT_TRUE(d3d_) << "no OpenGL 3.3 core context";
        D3DPRESENT_PARAMETERS pp = gl::HiddenWindowParameters(kSize, kSize);
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                     pp, device_),
                  D3D_OK);
        PublishDevice(device_.get());
        textures_ = std::make_unique<TextureManager>(device_.get());
        files_.Add(FileSource(EngineString(dir_.path().c_str())));
    }

    void TearDown() override {
        scene_.reset();
        textures_.reset();
        PublishDevice(nullptr);
        device_.Reset();
        d3d_.Reset();
        window_.reset();
    }

    void LoadHandWorkedScene() {
        std::unique_ptr<UdfNode> root = BuildHandWorkedScene(dir_.path());
        const std::vector<uint8_t> bytes = SaveBytes(*root, dir_.path() + "/scene.udf");
        SceneContext context;
        context.files = &files_;
        context.textures = textures_.get();
        scene_ = std::make_unique<Scene>(context);
        ASSERT_TRUE(scene_->loadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), ""));
    }

    void DrawFrame(const char* name) {
        RenderCamera camera;
        camera.lookAt({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
        camera.setAspect(1.0f);
        RenderSorter sorter(camera);
        sorter.setLights(&scene_->lights());
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DeviceStateCache::Get().setRenderState(D3DRS_AMBIENT, 0);
        EXPECT_TRUE(RunScenePass(scene_->root(), sorter).flushed.ok);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        ASSERT_EQ(device_->Present(), D3D_OK);
        uint32_t width = 0, height = 0;
        ASSERT_EQ(device_->GetFrontBufferData(0, frame_, width, height), D3D_OK);
        ASSERT_EQ(width, kSize);
        EXPECT_TRUE(WritePngFile((::testing::TempDir() + name + ".png").c_str(), frame_, width, height, false, 1));
    }

    // The pixel that shows the world point (x, y, 0).
    uint32_t PixelAt(float x, float y) const {
        const double scale = kSize / 2.0 / (10.0 * std::tan(1.0471976 / 2));
        const auto px = static_cast<uint32_t>(kSize / 2.0 + x * scale);
        const auto py = static_cast<uint32_t>(kSize / 2.0 - y * scale);
        return frame_[py * kSize + px];
    }

    void ExpectPixel(float x, float y, Rgb expected, double tolerance = 1.5) const {
        const uint32_t argb = PixelAt(x, y);
        EXPECT_NEAR((argb >> 16) & 0xFF, expected.r, tolerance) << "red at " << x << "," << y;
        EXPECT_NEAR((argb >> 8) & 0xFF, expected.g, tolerance) << "green at " << x << "," << y;
        EXPECT_NEAR(argb & 0xFF, expected.b, tolerance) << "blue at " << x << "," << y;
    }

    TempDir dir_;
    std::unique_ptr<gl::HiddenWindow> window_;
    Ref<Direct3D> d3d_;
    Ref<Device> device_;
    FileSearchList files_;
    std::unique_ptr<TextureManager> textures_;
    std::unique_ptr<Scene> scene_;
    std::vector<uint32_t> frame_;
};

TEST_F(ScenePixelTest, TheHandWorkedSceneShowsTheComputedColours) {
    LoadHandWorkedScene();
    // Bone 3 rises by 1.5 as an animation would lift it.
    SceneNode* bone = scene_->root().find("Bone3");
    bone->getSpareMatrix() = Matrix::Translation({0, 1.5f, 0});
    bone->getTransformStack().addMatrix(1, &bone->getSpareMatrix());
    DrawFrame("hand-worked-scene");

    // Point light 2 in front of the square's centre: every corner at d = sqrt(6) with
    // N.L = 2 / d and attenuation 1 / (d / AttStart) = 2 / d, so the colour is 2/3 of the diffuse.
    const double lit = 2.0 / 3.0 * 255;
    ExpectPixel(-4, 4, {lit, lit * 0.5, lit * 0.25});
    // The spot light, the same geometry inside its hot spot, with its own colour.
    ExpectPixel(0, 4, {lit * 0.5, lit, lit});
    // Stage 1 light map: base x left light-map texel x 2 (coordinate set 1).
    ExpectPixel(4, 4, {128.0 * 128 * 2 / 255, 96.0 * 128 * 2 / 255, 64.0 * 64 * 2 / 255});
    // Glass: blue backdrop, then green, then red, each with alpha 63 / 255, farthest first.
    const double a = 63.0 / 255;
    const Rgb afterGreen{0, 255 * a, 255 * (1 - a)};
    ExpectPixel(-4, 0, {255 * a, afterGreen.g * (1 - a), afterGreen.b * (1 - a)}, 2.5);
    // The backdrop's rim outside the glass stays blue (the backdrop lies farther, so its rim is
    // nearer the middle of the picture than its size says).
    ExpectPixel(-5.2f, 0, {0, 0, 255});
    // Additive: grey plus the glow texel.
    ExpectPixel(0, 0, {0x40 + 0x30, 0x40 + 0x60, 0x40 + 0x10});
    // Two-sided: drawn from behind; one-sided from behind: culled.
    ExpectPixel(4, 0, {0x20, 0xC0, 0x20});
    ExpectPixel(4, -4, {0, 0, 0});
    // Skinned strip: bones 0 to 2 in place, bone 3's square moved up by 1.5.
    ExpectPixel(-5, -4, {0xC0, 0xC0, 0});
    ExpectPixel(-2, -4, {0xC0, 0xC0, 0});
    ExpectPixel(-0.5f, -4, {0, 0, 0});
    ExpectPixel(-0.5f, -2.5f, {0xC0, 0xC0, 0});
}

TEST_F(ScenePixelTest, AfterADeviceResetTheSceneDrawsTheSamePicture) {
    LoadHandWorkedScene();
    DrawFrame("before-reset");
    const std::vector<uint32_t> before = frame_;

    scene_->onDeviceLost();
    textures_->InvalidateAll();
    D3DPRESENT_PARAMETERS pp = gl::HiddenWindowParameters(kSize, kSize);
    ASSERT_EQ(device_->Reset(pp), D3D_OK);
    DeviceStateCache::Get().invalidate();
    ASSERT_TRUE(textures_->RestoreAll());
    ASSERT_TRUE(scene_->onDeviceReset());
    DrawFrame("after-reset");
    EXPECT_EQ(frame_, before);
}

}  // namespace
