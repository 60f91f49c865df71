// Direct3D lighting on an equilateral triangle whose vertices all see the light alike, so the
// Gouraud-shaded pixels carry the exact per-vertex value.

#include <cmath>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

namespace {

struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
};

class LightingTest : public GlDeviceTest {
protected:
    // Triangle of circumradius 0.6 around the origin at z = 0.5 facing the camera; with identity
    // transforms camera space is clip space. The light sits 0.8 in front of its centre, so every
    // vertex is at distance 1 with N.L = 0.8.
    void DrawLit(const D3DLIGHT9& light, const char* name) {
        Begin(0xFF000000);
        device_->SetRenderState(D3DRS_LIGHTING, 1);
        D3DMATERIAL9 material;
        material.Diffuse = {1, 1, 1, 1};
        material.Ambient = {1, 1, 1, 1};
        device_->SetMaterial(&material);
        device_->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
        device_->SetRenderState(D3DRS_AMBIENT, ambient_);
        device_->SetLight(0, &light);
        device_->LightEnable(0, true);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        LitVertex v[3];
        for (int i = 0; i < 3; ++i) {
            const float angle = 1.5707963f + static_cast<float>(i) * 2.0943951f;
            v[i] = {0.6f * std::cos(angle), 0.6f * std::sin(angle), 0.5f, 0, 0, -1};
        }
        device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(LitVertex)), D3D_OK);
        Finish(name);
    }

    D3DCOLOR ambient_ = 0;

    static D3DLIGHT9 PointLight() {
        D3DLIGHT9 light;
        light.Type = D3DLIGHT_POINT;
        light.Diffuse = {1.0f, 0.5f, 0.2f, 1};
        light.Position = {0, 0, -0.3f};
        light.Range = 2.0f;
        light.Attenuation1 = 2.0f;  // 1 / (2 d) = 0.5
        return light;
    }

    static D3DLIGHT9 SpotLight(float cosHalfTheta, float cosHalfPhi, float falloff) {
        D3DLIGHT9 light;
        light.Type = D3DLIGHT_SPOT;
        light.Diffuse = {1, 1, 1, 1};
        light.Position = {0, 0, -0.3f};
        light.Direction = {0, 0, 1};
        light.Range = 10.0f;
        light.Attenuation0 = 1.0f;
        light.Theta = 2 * std::acos(cosHalfTheta);
        light.Phi = 2 * std::acos(cosHalfPhi);
        light.Falloff = falloff;
        return light;
    }
};

TEST_F(LightingTest, PointLightAttenuation) {
    DrawLit(PointLight(), "point_light");
    // Ld x att x N.L = (1, 0.5, 0.2) x 0.5 x 0.8.
    ExpectPixel(32, 32, {102, 51, 20});
}

TEST_F(LightingTest, PointLightRangeCutOff) {
    D3DLIGHT9 light = PointLight();
    light.Range = 0.99f;  // the vertices are at distance 1
    DrawLit(light, "point_light_out_of_range");
    ExpectPixel(32, 32, {0, 0, 0});
}

TEST_F(LightingTest, SpotLightCone) {
    // rho = 0.8 between cos(phi / 2) = 0.6 and cos(theta / 2) = 0.9: ((0.8 - 0.6) / 0.3)^1 x 0.8.
    DrawLit(SpotLight(0.9f, 0.6f, 1.0f), "spot_penumbra");
    ExpectPixel(32, 32, {136, 136, 136});
}

TEST_F(LightingTest, SpotLightFalloffUmbraAndOutside) {
    DrawLit(SpotLight(0.9f, 0.6f, 2.0f), "spot_falloff");
    ExpectPixel(32, 32, {91, 91, 91});  // (2/3)^2 x 0.8 x 255 = 90.7
    DrawLit(SpotLight(0.7f, 0.6f, 1.0f), "spot_umbra");
    ExpectPixel(32, 32, {204, 204, 204});  // inside theta: 0.8
    DrawLit(SpotLight(0.95f, 0.85f, 1.0f), "spot_outside");
    ExpectPixel(32, 32, {0, 0, 0});
}

TEST_F(LightingTest, GlobalAmbientWithLightOutOfReach) {
    D3DLIGHT9 light = PointLight();
    light.Range = 0.5f;
    light.Ambient = {1, 1, 1, 1};  // a light out of range adds no ambient either
    ambient_ = D3DCOLOR_ARGB(0, 0x40, 0x20, 0x10);
    DrawLit(light, "ambient");
    ExpectPixel(32, 32, {0x40, 0x20, 0x10});
}

}  // namespace
