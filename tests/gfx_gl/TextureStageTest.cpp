// Texture-stage cascades compared with the values Direct3D's formulas give.

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

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

}  // namespace
