// Texture-stage cascades compared with the values Direct3D's formulas give.

#include <cstring>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;
using gfx::testing::Rgb;

namespace {

TEST_F(GlDeviceTest, Modulate2xOfTextureAndDiffuse) {
    Begin(0xFF000000);
    const Ref<Texture> texture = MakeTexture(1, 1, {0xFF40C8FF});
    device_->SetTexture(0, texture.get());
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    DrawQuad(0, 0, kSize, kSize, D3DCOLOR_ARGB(255, 0x66, 0x66, 0xCC));
    Finish("modulate2x");
    // 2 x t x d: red 64 x 0.8 = 51.2, green 200 x 0.8 = 160, blue 255 x 1.6 saturates.
    ExpectPixel(10, 10, {51, 160, 255});
}

TEST_F(GlDeviceTest, SubtractOfFactorFromTexture) {
    Begin(0xFF000000);
    const Ref<Texture> texture = MakeTexture(1, 1, {D3DCOLOR_ARGB(255, 200, 100, 50)});
    device_->SetTexture(0, texture.get());
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_ARGB(255, 50, 150, 25));
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SUBTRACT);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    DrawQuad(0, 0, kSize, kSize, 0xFFFFFFFF);
    Finish("subtract");
    ExpectPixel(30, 30, {150, 0, 25});
}

TEST_F(GlDeviceTest, AddOfFactorOnAnUntexturedStage) {
    Begin(0xFF000000);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_ARGB(255, 30, 220, 5));
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    device_->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device_->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    DrawQuad(0, 0, kSize, kSize, D3DCOLOR_ARGB(255, 100, 50, 20));
    Finish("add_factor");
    ExpectPixel(5, 60, {130, 255, 25});
}

TEST_F(GlDeviceTest, LerpAndComplementArguments) {
    Begin(0xFF000000);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_ARGB(0x33, 200, 0, 100));
    // LERP: a0 x a1 + (1 - a0) x a2 with a0 = factor alpha (0.2), a1 = factor, a2 = 1 - diffuse.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_LERP);
    device_->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE | D3DTA_COMPLEMENT);
    DrawQuad(0, 0, kSize, kSize, D3DCOLOR_ARGB(255, 55, 255, 5));
    Finish("lerp");
    // red 0.2 x 200 + 0.8 x 200 = 200; green 0 + 0.8 x 0 = 0; blue 0.2 x 100 + 0.8 x 250 = 220.
    ExpectPixel(32, 32, {200, 0, 220});
}

// Whether the driver samples the blocks or the device decodes them at upload, a DXT1 texture
// shows the colours of its block, and a level written again shows the new block.
TEST_F(GlDeviceTest, CompressedTexturesShowTheirBlocksAndTheirUpdates) {
    Ref<Texture> texture;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, texture), D3D_OK);
    auto writeBlock = [&](uint16_t color0, uint16_t color1) {
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, locked, nullptr, 0), D3D_OK);
        // color0 > color1: four colours. Row 0 holds indices 0, 1, 2, 3; rows 1-3 index 1.
        const uint8_t block[8] = {static_cast<uint8_t>(color0), static_cast<uint8_t>(color0 >> 8),
                                  static_cast<uint8_t>(color1), static_cast<uint8_t>(color1 >> 8),
                                  0xE4, 0x55, 0x55, 0x55};
        std::memcpy(locked.pBits, block, sizeof block);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    };
    auto draw = [&](const char* name) {
        Begin(0xFF000000);
        device_->SetTexture(0, texture.get());
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        DrawQuad(0, 0, kSize, kSize, 0xFFFFFFFF);
        Finish(name);
    };
    auto expectNear = [&](uint32_t x, uint32_t y, Rgb expected) {  // decoders round the mixes differently
        const Rgb got = Pixel(x, y);
        EXPECT_NEAR(got.r, expected.r, 3) << x << "," << y;
        EXPECT_NEAR(got.g, expected.g, 3) << x << "," << y;
        EXPECT_NEAR(got.b, expected.b, 3) << x << "," << y;
    };
    writeBlock(0xF800, 0x001F);  // red, blue
    draw("dxt1");
    ExpectPixel(8, 8, {255, 0, 0});
    ExpectPixel(24, 8, {0, 0, 255});
    expectNear(40, 8, {170, 0, 85});
    expectNear(56, 8, {85, 0, 170});
    ExpectPixel(8, 40, {0, 0, 255});

    writeBlock(0x07E0, 0x0000);  // green, black
    draw("dxt1_updated");
    ExpectPixel(8, 8, {0, 255, 0});
    ExpectPixel(24, 8, {0, 0, 0});
    expectNear(40, 8, {0, 170, 0});
}

}  // namespace
