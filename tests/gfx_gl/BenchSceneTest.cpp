// The benchmark's scene through the device. What the device keeps between draws and frames
// (bindings, uploaded constants, states left from the frame before) must give the very pixels of
// a device that sends every state again before every draw.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DeviceScene.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/HiddenWindow.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "support/ScopedEnv.h"

namespace gfx {
namespace {

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 240;

class BenchSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<HiddenWindow>(kWidth, kHeight);
        ASSERT_NE(window_->NativeHandle(), nullptr) << window_->Error();
        d3d_ = PlatformDirect3DCreate9(D3D_SDK_VERSION);
        ASSERT_TRUE(d3d_) << "no OpenGL 3.3 core context";
    }

    void TearDown() override {
        scene_.reset();
        device_.Reset();
        d3d_.Reset();
        window_.reset();
    }

    void MakeDevice() {
        scene_.reset();
        device_.Reset();
        D3DPRESENT_PARAMETERS pp = HiddenWindowParameters(kWidth, kHeight);
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp,
                                     device_),
                  D3D_OK);
        scene_ = std::make_unique<bench::DeviceScene>(*device_, kWidth, kHeight);
    }

    std::vector<uint32_t> Frame(bool draw, const std::string& name) {
        scene_->Frame(draw);
        std::vector<uint32_t> argb;
        uint32_t width = 0, height = 0;
        EXPECT_EQ(device_->GetFrontBufferData(0, argb, width, height), D3D_OK);
        const std::string path = ::testing::TempDir() + name + ".png";
        EXPECT_TRUE(WritePngFile(path.c_str(), argb, width, height, false, 1));
        return argb;
    }

    // Textures and buffers made, filled and released between frames rebind GL objects behind
    // the device's back.
    void ChurnResources() {
        Ref<Texture> texture;
        ASSERT_EQ(device_->CreateTexture(16, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, locked, nullptr, 0), D3D_OK);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        Ref<VertexBuffer> vertices;
        ASSERT_EQ(device_->CreateVertexBuffer(64, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, vertices), D3D_OK);
        void* bytes = nullptr;
        ASSERT_EQ(vertices->Lock(0, 0, &bytes, 0), D3D_OK);
        ASSERT_EQ(vertices->Unlock(), D3D_OK);
    }

    std::unique_ptr<HiddenWindow> window_;
    Ref<Direct3D> d3d_;
    Ref<Device> device_;
    std::unique_ptr<bench::DeviceScene> scene_;
};

TEST_F(BenchSceneTest, KeptStateDrawsWhatResentStateDraws) {
    std::vector<uint32_t> resent, resentEmpty;
    {
        ScopedEnv resend("QUELMONT_GL_RESEND_STATE", "1");
        MakeDevice();
        resent = Frame(true, "bench-scene-resent");
        resentEmpty = Frame(false, "bench-scene-resent-empty");
    }
    ASSERT_NE(resent, resentEmpty) << "the scene drew nothing";

    MakeDevice();
    EXPECT_EQ(Frame(true, "bench-scene-1"), resent);
    scene_->Frame(true);  // presented only: reading the frame back must not be what restores state
    EXPECT_EQ(Frame(true, "bench-scene-2"), resent);
    ChurnResources();
    EXPECT_EQ(Frame(true, "bench-scene-3"), resent);
    EXPECT_EQ(Frame(false, "bench-scene-empty"), resentEmpty);
    EXPECT_EQ(Frame(true, "bench-scene-4"), resent);
}

}  // namespace
}  // namespace gfx
