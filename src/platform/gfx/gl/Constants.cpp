#include "platform/gfx/gl/Constants.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace gfx::gl {
namespace {

void Store(const math::Mat4& m, float (&out)[16]) { std::memcpy(out, m.m, sizeof(out)); }

void Store(const D3DCOLORVALUE& c, float (&out)[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

void StoreArgb(uint32_t argb, float (&out)[4]) {
    out[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(argb & 0xFF) / 255.0f;
    out[3] = static_cast<float>(argb >> 24) / 255.0f;
}

void Store(float x, float y, float z, float w, float (&out)[4]) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
    out[3] = w;
}

}  // namespace

void FillConstants(const StateDevice& device, const uint32_t* lights, uint32_t lightCount, uint32_t width,
                   uint32_t height, ObjectConstants& object, FixedFunctionConstants& out) {
    const math::Mat4& view = device.Transform(D3DTS_VIEW);
    const math::Mat4 worldView = math::Multiply(device.Transform(D3DTS_WORLD), view);
    Store(worldView, object.worldView);
    math::Mat4 inverse;
    if (!math::Inverse(worldView, inverse)) inverse = math::Identity();
    Store(math::Transpose(inverse), object.normalMatrix);
    Store(device.Transform(D3DTS_PROJECTION), out.projection);
    for (uint32_t s = 0; s < kMaxTextureStages; ++s) Store(device.Transform(D3DTS_TEXTURE(s)), out.textureMatrix[s]);

    const D3DMATERIAL9& material = device.Material();
    Store(material.Diffuse, out.materialDiffuse);
    Store(material.Ambient, out.materialAmbient);
    Store(material.Specular, out.materialSpecular);
    Store(material.Emissive, out.materialEmissive);
    StoreArgb(device.RenderState(D3DRS_AMBIENT), out.globalAmbient);
    StoreArgb(device.RenderState(D3DRS_TEXTUREFACTOR), out.textureFactor);
    StoreArgb(device.RenderState(D3DRS_FOGCOLOR), out.fogColor);
    Store(std::bit_cast<float>(device.RenderState(D3DRS_FOGSTART)), std::bit_cast<float>(device.RenderState(D3DRS_FOGEND)),
          std::bit_cast<float>(device.RenderState(D3DRS_FOGDENSITY)), 0.0f, out.fogParams);
    Store(static_cast<float>(device.RenderState(D3DRS_ALPHAREF) & 0xFF), material.Power,
          1.0f / static_cast<float>(width ? width : 1), 1.0f / static_cast<float>(height ? height : 1), out.misc);

    for (uint32_t i = 0; i < lightCount; ++i) {
        const D3DLIGHT9& light = device.Lights().at(lights[i]).light;
        LightConstants& l = out.lights[i];
        Store(light.Diffuse, l.diffuse);
        Store(light.Specular, l.specular);
        Store(light.Ambient, l.ambient);
        const math::Vec3 position = math::TransformCoord({light.Position.x, light.Position.y, light.Position.z}, view);
        const math::Vec3 direction =
            math::Normalize(math::TransformNormal({light.Direction.x, light.Direction.y, light.Direction.z}, view));
        Store(position.x, position.y, position.z, 1.0f, l.position);
        Store(direction.x, direction.y, direction.z, 0.0f, l.direction);
        Store(light.Range, light.Falloff, light.Attenuation0, light.Attenuation1, l.params0);
        Store(light.Attenuation2, std::cos(light.Theta / 2), std::cos(light.Phi / 2), 0.0f, l.params1);
    }
}

}  // namespace gfx::gl
