#include "shell/ScreenQuad.h"

#include <algorithm>

#include "scene/DeviceStateCache.h"

using namespace gfx;

namespace {

// A pre-transformed vertex with one pair of texture coordinates.
struct QuadVertex {
    float x, y, z, rhw, u, v;
};
constexpr uint32_t kQuadFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;

}  // namespace

uint32_t OpacityColor(float opacity, uint8_t r, uint8_t g, uint8_t b) {
    const auto alpha = static_cast<uint32_t>(std::clamp(opacity, 0.0f, 1.0f) * 255.0f + 0.5f);
    return D3DCOLOR_ARGB(alpha, r, g, b);
}

bool DrawScreenQuad(Device& device, const ScreenBox& box, Texture* texture, uint32_t color) {
    const auto [x0, y0, x1, y1] = box;
    const QuadVertex quad[6] = {{x0, y0, 0.1f, 1, 0, 0}, {x1, y0, 0.1f, 1, 1, 0}, {x1, y1, 0.1f, 1, 1, 1},
                                {x0, y0, 0.1f, 1, 0, 0}, {x1, y1, 0.1f, 1, 1, 1}, {x0, y1, 0.1f, 1, 0, 1}};

    // The colour rides on the texture factor; blending by its alpha lays the quad over the frame.
    const uint32_t colorOp = texture ? D3DTOP_MODULATE : D3DTOP_SELECTARG2;
    DeviceStateCache& cache = DeviceStateCache::Get();
    cache.setRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    cache.setRenderState(D3DRS_ZWRITEENABLE, 0);
    cache.setRenderState(D3DRS_LIGHTING, 0);
    cache.setRenderState(D3DRS_FOGENABLE, 0);
    cache.setRenderState(D3DRS_ALPHATESTENABLE, 0);
    cache.setRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    cache.setRenderState(D3DRS_ALPHABLENDENABLE, 1);
    cache.setRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    cache.setRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    cache.setRenderState(D3DRS_TEXTUREFACTOR, color);
    cache.setTextureStageState(0, D3DTSS_COLOROP, colorOp);
    cache.setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    cache.setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    cache.setTextureStageState(0, D3DTSS_ALPHAOP, colorOp);
    cache.setTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    cache.setTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
    cache.setTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    cache.setTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, 0);
    cache.setTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    cache.setSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    cache.setSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    cache.setSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    cache.setSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    cache.setSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    cache.setTexture(0, texture);
    device.SetFVF(kQuadFvf);
    const bool drawn = SUCCEEDED(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex)));
    // The scene expects its depth states back.
    cache.setRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    cache.setRenderState(D3DRS_ZWRITEENABLE, 1);
    cache.setRenderState(D3DRS_ALPHABLENDENABLE, 0);
    return drawn;
}
