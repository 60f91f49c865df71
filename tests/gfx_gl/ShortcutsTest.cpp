// The device leaves out work that cannot change a pixel. These cases are where it could: alpha
// that is below 1 after all (texels filled again while bound, a factor changed between draws), an
// alpha test that fails at 1 and a depth clear that waited when a later draw tests depth.

#include <cstring>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;
using gfx::testing::Rgb;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

void BlendAndTestAlpha(Device& device) {
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    device.SetRenderState(D3DRS_ALPHAREF, 1);
    device.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

TEST_F(GlDeviceTest, CompressedTexelsMadeTransparentWhileBoundAreTestedAgain) {
    Ref<Texture> texture;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, texture), D3D_OK);
    auto writeBlock = [&](uint16_t color0, uint16_t color1, const uint8_t (&indices)[4]) {
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, locked, nullptr, 0), D3D_OK);
        const uint8_t block[8] = {static_cast<uint8_t>(color0), static_cast<uint8_t>(color0 >> 8),
                                  static_cast<uint8_t>(color1), static_cast<uint8_t>(color1 >> 8),
                                  indices[0], indices[1], indices[2], indices[3]};
        std::memcpy(locked.pBits, block, sizeof block);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    };
    device_->SetTexture(0, texture.get());
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    BlendAndTestAlpha(*device_);

    writeBlock(0x07E0, 0x0000, {0, 0, 0, 0});  // four-colour mode: opaque green everywhere
    Begin(0xFFFF0000);
    DrawQuad(0, 0, kSize, kSize, kWhite);
    Finish("opaque_block");
    ExpectPixel(8, 8, {0, 255, 0});
    ExpectPixel(56, 56, {0, 255, 0});

    // Three-colour mode: row 0 holds indices 0 (black), 1 (green), 2, 3 (transparent); the other
    // rows are transparent. Nothing was bound or set since.
    writeBlock(0x0000, 0x07E0, {0xE4, 0xFF, 0xFF, 0xFF});
    Begin(0xFFFF0000);
    DrawQuad(0, 0, kSize, kSize, kWhite);
    Finish("transparent_texels");
    ExpectPixel(8, 8, {0, 0, 0});
    ExpectPixel(24, 8, {0, 255, 0});
    ExpectPixel(56, 8, {255, 0, 0});
    ExpectPixel(8, 40, {255, 0, 0});
}

TEST_F(GlDeviceTest, FactorAlphaChangedBetweenDrawsAndTestsFailingAtOneAreHonoured) {
    Begin(0xFF000000);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    BlendAndTestAlpha(*device_);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000);
    DrawQuad(0, 0, 16, kSize, kWhite);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0x80000000);  // only a constant changes
    DrawQuad(16, 0, 32, kSize, kWhite);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000);
    DrawQuad(32, 0, 48, kSize, kWhite);
    device_->SetRenderState(D3DRS_ALPHAREF, 0xFF);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);  // no alpha passes
    DrawQuad(48, 0, kSize, kSize, kWhite);
    Finish("factor_alpha");
    ExpectPixel(8, 32, {255, 255, 255});
    ExpectPixel(24, 32, {128, 128, 128});
    ExpectPixel(40, 32, {255, 255, 255});
    ExpectPixel(56, 32, {0, 0, 0});
}

TEST_F(GlDeviceTest, DepthClearsAreMadeBeforeTheNextDrawThatTestsDepth) {
    Begin(0xFF000000);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
    device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    DrawQuad(0, 0, kSize, kSize, 0xFFFF0000);  // every quad lies at depth 0.1
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);  // an overlay: no depth
    DrawQuad(0, 0, 16, kSize, 0xFF0000FF);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    DrawQuad(16, 0, 32, kSize, 0xFF00FF00);  // passes only against the cleared depth
    Finish("depth_clear_waited");
    ExpectPixel(8, 32, {0, 0, 255});
    ExpectPixel(24, 32, {0, 255, 0});
    ExpectPixel(40, 32, {255, 0, 0});

    // A colour clear does not stand in for a waiting depth clear.
    Begin(0xFF000000);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.05f, 0), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000040, 1.0f, 0), D3D_OK);
    DrawQuad(0, 0, kSize, kSize, 0xFFFF0000);  // behind depth 0.05
    Finish("depth_clear_then_colour");
    ExpectPixel(32, 32, {0, 0, 64});
}

}  // namespace
