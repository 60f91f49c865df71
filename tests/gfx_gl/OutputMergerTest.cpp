// Alpha test, blending, pre-transformed pixel coverage and the gamma ramp.

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

namespace {

void UseDiffuse(Device& device) {
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
}

TEST_F(GlDeviceTest, AlphaTestAndSourceAlphaBlend) {
    Begin(D3DCOLOR_ARGB(255, 0, 0, 255));
    UseDiffuse(*device_);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device_->SetRenderState(D3DRS_ALPHAREF, 0x41);
    DrawQuad(0, 0, 32, kSize, D3DCOLOR_ARGB(0x40, 255, 0, 0));  // 64 < 65: rejected
    device_->SetRenderState(D3DRS_ALPHAREF, 0x40);
    DrawQuad(32, 0, kSize, kSize, D3DCOLOR_ARGB(0x40, 255, 0, 0));  // 64 >= 64: blended
    Finish("alpha_blend");
    ExpectPixel(10, 10, {0, 0, 255});
    // src x a + dst x (1 - a), a = 64 / 255: red 64, blue 255 x 191 / 255 = 191.
    ExpectPixel(50, 10, {64, 0, 191});
}

TEST_F(GlDeviceTest, AdditiveBlend) {
    Begin(D3DCOLOR_ARGB(255, 100, 100, 100));
    UseDiffuse(*device_);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    DrawQuad(0, 0, kSize, kSize, D3DCOLOR_ARGB(0x80, 100, 200, 50));
    Finish("additive");
    // dst + src x 128 / 255: 100 + 50.2, 100 + 100.4, 100 + 25.1.
    ExpectPixel(20, 40, {150, 200, 125});
}

TEST_F(GlDeviceTest, PretransformedQuadCoversExactPixelsOnce) {
    Begin(0xFF000000);
    UseDiffuse(*device_);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    // Two triangles share the diagonal: a pixel drawn twice would read 80.
    DrawQuad(0, 0, kSize, kSize, D3DCOLOR_ARGB(255, 0x40, 0, 0));
    DrawQuad(2, 3, 6, 7, D3DCOLOR_ARGB(255, 0, 0x40, 0));
    Finish("pretransformed");
    for (uint32_t y = 0; y < kSize; ++y) {
        for (uint32_t x = 0; x < kSize; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
            const auto p = Pixel(x, y);
            ASSERT_EQ(p.r, 0x40) << x << "," << y;
            ASSERT_EQ(p.g, inside ? 0x40 : 0) << x << "," << y;
        }
    }
}

TEST_F(GlDeviceTest, PretransformedTexelsMapOneToOne) {
    Begin(0xFF000000);
    const Ref<Texture> texture =
        MakeTexture(2, 2, {D3DCOLOR_ARGB(255, 255, 0, 0), D3DCOLOR_ARGB(255, 0, 255, 0), D3DCOLOR_ARGB(255, 0, 0, 255),
                           D3DCOLOR_ARGB(255, 255, 255, 255)});
    device_->SetTexture(0, texture.get());
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    // Direct3D 9 samples a quad from (0, 0) at texel corners: filtered, every pixel of an
    // unshifted 2 x 2 quad averages the four texels. Shifted by half a pixel, each pixel centre
    // meets its texel's centre.
    DrawQuad(0, 0, 2, 2, 0xFFFFFFFF);
    DrawQuad(3.5f, -0.5f, 5.5f, 1.5f, 0xFFFFFFFF);
    Finish("texels");
    ExpectPixel(0, 0, {128, 128, 128});
    ExpectPixel(1, 1, {128, 128, 128});
    ExpectPixel(4, 0, {255, 0, 0});
    ExpectPixel(5, 0, {0, 255, 0});
    ExpectPixel(4, 1, {0, 0, 255});
    ExpectPixel(5, 1, {255, 255, 255});
}

TEST_F(GlDeviceTest, GammaRampOfGamma100OnAClearedFrame) {
    D3DGAMMARAMP ramp;
    for (int i = 0; i < 256; ++i) {
        const int value = std::min(100 * 200 + i * 256, 65535);
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(value);
    }
    device_->SetGammaRamp(0, D3DSGR_CALIBRATE, ramp);
    Begin(D3DCOLOR_ARGB(255, 100, 0, 200));
    Finish("gamma");
    // ramp[c] >> 8: (20000 + 25600) >> 8 = 178, 20000 >> 8 = 78, 71200 limited to 65535 -> 255.
    for (uint32_t y : {0u, 31u, 63u}) ExpectPixel(y, y, {178, 78, 255});
}

TEST_F(GlDeviceTest, SimulatedLossSkipsPresentUntilReset) {
    device_->SimulateDeviceLoss();
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS pp = PresentParameters();
    EXPECT_EQ(device_->Reset(pp), D3DERR_DEVICELOST);
    device_->SimulateDeviceRestore();
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ASSERT_EQ(device_->Reset(pp), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    Begin(D3DCOLOR_ARGB(255, 10, 20, 30));
    Finish("after_reset");
    ExpectPixel(1, 1, {10, 20, 30});
}

// A new device made while the old one is still held (as a settings change does) keeps drawing
// once the old one goes.
TEST_F(GlDeviceTest, ADeviceReleasedAfterItsSuccessorLeavesTheSuccessorDrawing) {
    Ref<Device> previous = device_;
    D3DPRESENT_PARAMETERS pp = PresentParameters();
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp, device_),
              D3D_OK);
    previous.Reset();
    Begin(D3DCOLOR_ARGB(255, 40, 50, 60));
    Finish("successor");
    ExpectPixel(1, 1, {40, 50, 60});
}

}  // namespace

namespace {

TEST_F(GlDeviceTest, CullingFollowsTheWindingSeenOnScreen) {
    Begin(0xFF000000);
    UseDiffuse(*device_);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    const D3DCOLOR white = 0xFFFFFFFF;
    // Clockwise on screen (y down): kept under the default counter-clockwise culling.
    const gfx::testing::ScreenVertex clockwise[3] = {
        {0, 0, 0.5f, 1, white, 0, 0}, {32, 0, 0.5f, 1, white, 0, 0}, {0, 32, 0.5f, 1, white, 0, 0}};
    const gfx::testing::ScreenVertex counterClockwise[3] = {
        {32, 32, 0.5f, 1, white, 0, 0}, {32, 64, 0.5f, 1, white, 0, 0}, {64, 32, 0.5f, 1, white, 0, 0}};
    device_->SetFVF(gfx::testing::kScreenFvf);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(gfx::testing::ScreenVertex));
    device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counterClockwise, sizeof(gfx::testing::ScreenVertex));
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    const gfx::testing::ScreenVertex culledByCw[3] = {
        {40, 0, 0.5f, 1, white, 0, 0}, {60, 0, 0.5f, 1, white, 0, 0}, {40, 20, 0.5f, 1, white, 0, 0}};
    device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, culledByCw, sizeof(gfx::testing::ScreenVertex));
    Finish("culling");
    ExpectPixel(4, 4, {255, 255, 255});
    ExpectPixel(36, 36, {0, 0, 0});
    ExpectPixel(42, 2, {0, 0, 0});
}

TEST_F(GlDeviceTest, DepthTestUsesDirect3DDepthRange) {
    Begin(0xFF000000);
    UseDiffuse(*device_);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    const D3DCOLOR red = D3DCOLOR_ARGB(255, 255, 0, 0), green = D3DCOLOR_ARGB(255, 0, 255, 0);
    auto quad = [&](float z, D3DCOLOR color) {
        const gfx::testing::ScreenVertex v[4] = {
            {0, 0, z, 1, color, 0, 0}, {64, 0, z, 1, color, 0, 0}, {0, 64, z, 1, color, 0, 0}, {64, 64, z, 1, color, 0, 0}};
        device_->SetFVF(gfx::testing::kScreenFvf);
        device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(gfx::testing::ScreenVertex));
    };
    quad(0.2f, red);
    quad(0.6f, green);  // behind: rejected
    quad(0.0f, D3DCOLOR_ARGB(255, 0, 0, 255));  // the near plane is z = 0 in Direct3D
    Finish("depth");
    ExpectPixel(10, 50, {0, 0, 255});
}

}  // namespace

namespace {

// Direct3D chooses its own codes for some of these (the OpenGL device's are pinned in
// GlRequestsTest); what every device owes is a failure and nothing made.
TEST_F(GlDeviceTest, UnsupportedRequestsFailCleanly) {
    Ref<Texture> texture;
    EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A2R10G10B10, D3DPOOL_MANAGED, texture), D3DERR_INVALIDCALL);
    EXPECT_FALSE(texture);
    EXPECT_LT(device_->CreateTexture(1 << 20, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), 0);
    EXPECT_FALSE(texture);
    EXPECT_LT(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, true,
                                               static_cast<D3DMULTISAMPLE_TYPE>(64), nullptr),
              0);
    D3DPRESENT_PARAMETERS pp;
    pp.Windowed = true;
    Ref<Device> other;
    EXPECT_LT(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, pp, other), 0);
    EXPECT_FALSE(other);

    // Draws that would read past their buffers are refused.
    Ref<VertexBuffer> vertices;
    ASSERT_EQ(device_->CreateVertexBuffer(3 * 16, 0, D3DFVF_XYZRHW, D3DPOOL_DEFAULT, vertices), D3D_OK);
    device_->SetFVF(D3DFVF_XYZRHW);
    device_->SetStreamSource(0, vertices.get(), 0, 16);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), D3DERR_INVALIDCALL);
    Ref<IndexBuffer> indices;
    ASSERT_EQ(device_->CreateIndexBuffer(6, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, indices), D3D_OK);
    device_->SetIndices(indices.get());
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 1, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 3, 0, 1), D3DERR_INVALIDCALL);
}

}  // namespace

