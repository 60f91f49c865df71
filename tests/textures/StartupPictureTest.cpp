// The startup picture: which corner logos are on, what the first frame draws and where, and the
// opacity of the fade, on the recording device.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "media/Manifest.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "platform/sys/LinkedResources.h"
#include "textures/TextureManager.h"
#include "scene/RenderDevice.h"
#include "shell/StartupPicture.h"

namespace {

std::vector<uint8_t> Picture(uint32_t width, uint32_t height) {
    gfx::ArgbImage image(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), 0xFF402010);
    return gfx::EncodeTga(image, 32, false);
}

class StartupPictureTest : public ::testing::Test {
protected:
    StartupPictureTest() {
        Put(manifest::kStartupPicture, picture);
        sys::SetResources(&table);
    }
    ~StartupPictureTest() override {
        sys::SetResources(nullptr);
    }
    void Put(const manifest::Resource& resource, const std::vector<uint8_t>& bytes) {
        table.Add(resource.type, resource.id, bytes);
    }
    size_t DrawFirstFrame() {
        startup.ProbeCornerLogos();
        startup.Load(textures);
        device.ClearCalls();
        startup.DrawFirstFrame(device, 1024, 768);
        return device.CountCalls("DrawPrimitiveUP");
    }

    gfx::RecordingDevice device;
    PublishedDevice published{device};
    TextureManager textures{&device};
    StartupPicture startup;
    sys::ResourceTable table;
    const std::vector<uint8_t> picture = Picture(64, 48);
    const std::vector<uint8_t> logo = Picture(256, 128);
    const std::vector<uint8_t> placeholder = std::vector<uint8_t>(48, 0);
    const std::vector<uint8_t> notAnImage = std::vector<uint8_t>(1025, 0x11);
};

TEST_F(StartupPictureTest, PlaceholdersLeaveOnlyThePicture) {
    for (const manifest::Resource& logo :
         {manifest::kLogoBottomRight, manifest::kLogoBottomLeft, manifest::kLogoTopLeft, manifest::kLogoTopRight})
        Put(logo, placeholder);
    EXPECT_EQ(DrawFirstFrame(), 1u);
    for (int slot = 1; slot <= 4; ++slot) EXPECT_FALSE(startup.LogoShown(slot));
}

TEST_F(StartupPictureTest, RealLogosAreDrawnInTheirCorners) {
    Put(manifest::kLogoBottomRight, logo);
    Put(manifest::kLogoBottomLeft, placeholder);
    Put(manifest::kLogoTopLeft, notAnImage);  // big enough, but no picture: on, and draws nothing
    // The top right one is missing altogether.
    EXPECT_EQ(DrawFirstFrame(), 2u);
    EXPECT_TRUE(startup.LogoShown(1));
    EXPECT_FALSE(startup.LogoShown(2));
    EXPECT_TRUE(startup.LogoShown(3));
    EXPECT_FALSE(startup.LogoShown(4));
}

TEST_F(StartupPictureTest, QuadBoxes) {
    using Box = StartupPicture::Box;
    EXPECT_EQ(StartupPicture::QuadBox(0, true, 1024, 768), (Box{0, 0, 1024, 768}));
    EXPECT_EQ(StartupPicture::QuadBox(0, false, 1024, 768), (Box{256, 192, 768, 576}));
    EXPECT_EQ(StartupPicture::QuadBox(1, false, 1024, 768), (Box{768, 640, 1024, 768}));
    EXPECT_EQ(StartupPicture::QuadBox(2, false, 1024, 768), (Box{0, 640, 256, 768}));
    EXPECT_EQ(StartupPicture::QuadBox(3, false, 1024, 768), (Box{0, 0, 256, 128}));
    EXPECT_EQ(StartupPicture::QuadBox(4, false, 1024, 768), (Box{768, 0, 1024, 128}));
}

TEST_F(StartupPictureTest, QuadsDrawWithoutDepthAtTheirOpacity) {
    DrawFirstFrame();
    device.ClearCalls();
    startup.DrawQuad(device, 0, true, 0.5f, 800, 600);
    const std::vector<std::string>& calls = device.Calls();
    const auto at = [&](const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) - calls.begin();
    };
    // Depth test and writes go off before the draw and come back after it.
    const auto depthOff = at("SetRenderState(7, 0)");
    const auto writesOff = at("SetRenderState(14, 0)");
    const auto factor = at("SetRenderState(60, " + std::to_string(0x80FFFFFFu) + ")");
    const auto drawn = std::find_if(calls.begin(), calls.end(),
                                    [](const std::string& c) { return c.rfind("DrawPrimitiveUP(4, 2,", 0) == 0; }) -
                       calls.begin();
    const auto depthOn = at("SetRenderState(7, 1)");
    ASSERT_LT(drawn, static_cast<ptrdiff_t>(calls.size()));
    EXPECT_LT(depthOff, drawn);
    EXPECT_LT(writesOff, drawn);
    EXPECT_LT(factor, drawn);
    EXPECT_GT(depthOn, drawn);
    EXPECT_LT(depthOn, static_cast<ptrdiff_t>(calls.size()));

    // Released, the pictures draw nothing.
    startup.Release();
    device.ClearCalls();
    startup.DrawFirstFrame(device, 800, 600);
    EXPECT_EQ(device.CountCalls("DrawPrimitiveUP"), 0u);
    EXPECT_EQ(textures.TextureCount(), 0u);
}

}  // namespace
