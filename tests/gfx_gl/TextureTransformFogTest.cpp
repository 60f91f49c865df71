// Texture-coordinate transforms and vertex fog on untransformed vertices. With identity world,
// view and projection, camera space is clip space: x and y in -1..1, z the depth.

#include <bit>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

namespace {

struct Vertex {
    float x, y, z;
    D3DCOLOR diffuse;
    float u, v;
};

void DrawFullScreen(Device& device, float z) {
    const Vertex v[4] = {{-1, 1, z, 0xFFFFFFFF, 0, 0},
                         {1, 1, z, 0xFFFFFFFF, 1, 0},
                         {-1, -1, z, 0xFFFFFFFF, 0, 1},
                         {1, -1, z, 0xFFFFFFFF, 1, 1}};
    device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Vertex));
}

TEST_F(GlDeviceTest, Count2TextureTransformTranslatesFromTheThirdRow) {
    Begin(0xFF000000);
    const Ref<Texture> texture = MakeTexture(2, 1, {D3DCOLOR_ARGB(255, 255, 0, 0), D3DCOLOR_ARGB(255, 0, 255, 0)});
    device_->SetTexture(0, texture.get());
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    math::Mat4 shift = math::Identity();
    shift(2, 0) = 0.5f;  // _31: (u, v, 1, 0) x M adds it to u
    device_->SetTransform(D3DTS_TEXTURE0, &shift);
    DrawFullScreen(*device_, 0.5f);
    Finish("texture_transform");
    ExpectPixel(10, 30, {0, 255, 0});  // u 0.16 + 0.5: the right texel
    ExpectPixel(50, 30, {255, 0, 0});  // u 0.78 + 0.5 wraps to the left texel
}

TEST_F(GlDeviceTest, LinearVertexFogBlendsTowardsTheFogColour) {
    Begin(0xFF000000);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device_->SetRenderState(D3DRS_FOGENABLE, 1);
    device_->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device_->SetRenderState(D3DRS_FOGCOLOR, D3DCOLOR_ARGB(0, 0, 0, 255));
    device_->SetRenderState(D3DRS_FOGSTART, std::bit_cast<uint32_t>(0.0f));
    device_->SetRenderState(D3DRS_FOGEND, std::bit_cast<uint32_t>(2.0f));
    DrawFullScreen(*device_, 0.5f);
    Finish("fog");
    // f = (end - z) / (end - start) = 0.75: white x 0.75 + blue x 0.25.
    ExpectPixel(32, 32, {191, 191, 255});
}

}  // namespace
