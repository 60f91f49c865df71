#include "shell/StartupPicture.h"

#include <algorithm>

#include "platform/sys/Resources.h"
#include "textures/Texture.h"
#include "textures/TextureManager.h"
#include "scene/DeviceStateCache.h"

using namespace gfx;

namespace {

constexpr size_t kLogoMinimumBytes = 1024;

// A pre-transformed vertex with one pair of texture coordinates.
struct QuadVertex {
    float x, y, z, rhw, u, v;
};
constexpr uint32_t kQuadFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;

}  // namespace

void StartupPicture::ProbeCornerLogos() {
    const sys::Resources& resources = sys::GetResources();
    for (const int id : {187, 190, 188, 189})
        logoShown_[static_cast<size_t>(id - kLogoIds[0])] = resources.Find("MEMFILE", id).size() > kLogoMinimumBytes;
}

void StartupPicture::Load(TextureManager& textures) {
    Release();
    const std::array<int, 5> ids{kPictureId, kLogoIds[0], kLogoIds[1], kLogoIds[2], kLogoIds[3]};
    for (size_t slot = 0; slot < ids.size(); ++slot) {
        TextureDescriptor request;
        request.source = FileSource(ids[slot]);
        request.mask = TextureDescriptor::kLevels;
        request.levels = 1;
        textures_[slot] = textures.GetTexture(request, nullptr);
    }
}

void StartupPicture::Release() {
    for (::Texture*& texture : textures_) {
        if (texture) texture->Release();
        texture = nullptr;
    }
}

StartupPicture::Box StartupPicture::QuadBox(int slot, bool fullScreen, uint32_t width, uint32_t height) {
    const auto w = static_cast<float>(width), h = static_cast<float>(height);
    switch (slot) {
        case 0:
            if (fullScreen) return {0, 0, w, h};
            return {static_cast<float>(width / 4), static_cast<float>(height / 4), w - static_cast<float>(width / 4),
                    h - static_cast<float>(height / 4)};
        case 1: return {w - 256, h - 128, w, h};
        case 2: return {0, h - 128, 256, h};
        case 3: return {0, 0, 256, 128};
        default: return {w - 256, 0, w, 128};
    }
}

void StartupPicture::DrawQuad(Device& device, int slot, bool fullScreen, float opacity, uint32_t width,
                              uint32_t height) const {
    const ::Texture* texture = textures_[static_cast<size_t>(slot)];
    if (!texture || !texture->D3DTexture()) return;
    const auto [x0, y0, x1, y1] = QuadBox(slot, fullScreen, width, height);
    const QuadVertex quad[6] = {{x0, y0, 0.1f, 1, 0, 0}, {x1, y0, 0.1f, 1, 1, 0}, {x1, y1, 0.1f, 1, 1, 1},
                                {x0, y0, 0.1f, 1, 0, 0}, {x1, y1, 0.1f, 1, 1, 1}, {x0, y1, 0.1f, 1, 0, 1}};

    // Opacity rides on the texture factor's alpha; blending over the black clear fades it.
    const auto alpha = static_cast<uint32_t>(std::clamp(opacity, 0.0f, 1.0f) * 255.0f + 0.5f);
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
    cache.setRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_ARGB(alpha, 255, 255, 255));
    cache.setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    cache.setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    cache.setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    cache.setTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
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
    cache.setTexture(0, texture->D3DTexture());
    device.SetFVF(kQuadFvf);
    device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(QuadVertex));
    // The scene expects its depth states back.
    cache.setRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    cache.setRenderState(D3DRS_ZWRITEENABLE, 1);
    cache.setRenderState(D3DRS_ALPHABLENDENABLE, 0);
}

void StartupPicture::DrawFirstFrame(Device& device, uint32_t width, uint32_t height) const {
    DrawQuad(device, 0, true, 1.0f, width, height);
    for (int slot = 1; slot <= 4; ++slot)
        if (LogoShown(slot)) DrawQuad(device, slot, false, 1.0f, width, height);
}
