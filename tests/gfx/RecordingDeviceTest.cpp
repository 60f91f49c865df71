#include "platform/gfx/RecordingDevice.h"

#include <gtest/gtest.h>

using namespace gfx;

TEST(RecordingDevice, StartsWithDirect3DDefaultsAndLogsEveryCall) {
    D3DPRESENT_PARAMETERS pp;
    pp.EnableAutoDepthStencil = true;
    RecordingDevice device(pp);
    uint32_t value = 0;
    device.GetRenderState(D3DRS_ZENABLE, &value);
    EXPECT_EQ(value, D3DZB_TRUE);
    device.GetRenderState(D3DRS_TEXTUREFACTOR, &value);
    EXPECT_EQ(value, 0xFFFFFFFFu);
    device.GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, D3DTOP_MODULATE);
    device.GetTextureStageState(1, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, D3DTOP_DISABLE);
    device.GetSamplerState(0, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, D3DTEXF_POINT);

    device.SetRenderState(D3DRS_LIGHTING, 0);
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF640000, 1.0f, 0);
    EXPECT_EQ(device.Calls()[device.Calls().size() - 2], "SetRenderState(137, 0)");
    EXPECT_EQ(device.Calls().back(), "Clear(0, null, 3, 4284743680, 1, 0)");
}

TEST(RecordingDevice, SimulatedLossNeedsResetAndResetRestoresDefaults) {
    RecordingDevice device;
    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device.SimulateDeviceLoss();
    EXPECT_EQ(device.TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device.Present(), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS pp;
    EXPECT_EQ(device.Reset(pp), D3DERR_DEVICELOST);  // too early
    device.SimulateDeviceRestore();
    EXPECT_EQ(device.TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device.Reset(pp), D3D_OK);
    EXPECT_EQ(device.TestCooperativeLevel(), D3D_OK);
    uint32_t cull = 0;
    device.GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_EQ(cull, D3DCULL_CCW);
}

TEST(RecordingDevice, LightsMaterialAndTransformsRoundTrip) {
    RecordingDevice device;
    bool enabled = true;
    EXPECT_EQ(device.GetLightEnable(4, &enabled), D3DERR_INVALIDCALL);
    device.LightEnable(4, true);  // an unset light gets Direct3D's default
    D3DLIGHT9 light;
    device.GetLight(4, &light);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Direction, (D3DVECTOR{0, 0, 1}));
    light.Type = static_cast<D3DLIGHTTYPE>(9);
    EXPECT_EQ(device.SetLight(4, &light), D3DERR_INVALIDCALL);

    const D3DMATRIX m = math::Translation(1, 2, 3);
    EXPECT_EQ(device.SetTransform(D3DTS_TEXTURE(3), &m), D3D_OK);
    D3DMATRIX out;
    device.GetTransform(D3DTS_TEXTURE(3), &out);
    EXPECT_EQ(out, m);
    EXPECT_EQ(device.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(40), &m), D3DERR_INVALIDCALL);
}

TEST(RecordingDevice, DrawPrimitiveUpResetsStreamZero) {
    RecordingDevice device;
    Ref<VertexBuffer> vb;
    ASSERT_EQ(device.CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_DEFAULT, vb), D3D_OK);
    device.SetStreamSource(0, vb.get(), 0, 12);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    const float vertices[9] = {};
    EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, vertices, 12), D3D_OK);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
}
