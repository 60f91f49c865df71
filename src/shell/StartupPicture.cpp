#include "shell/StartupPicture.h"

#include "platform/sys/Resources.h"
#include "shell/ScreenQuad.h"
#include "textures/Texture.h"
#include "textures/TextureManager.h"

using namespace gfx;

namespace {

constexpr size_t kLogoMinimumBytes = 1024;

}  // namespace

void StartupPicture::ProbeCornerLogos() {
    const sys::Resources& resources = sys::GetResources();
    for (const size_t slot : {1, 4, 2, 3})
        logoShown_[slot - 1] = resources.Find("MEMFILE", kLogoIds[slot - 1]).size() > kLogoMinimumBytes;
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
    DrawScreenQuad(device, {x0, y0, x1, y1}, texture->D3DTexture(), OpacityColor(opacity, 255, 255, 255));
}

void StartupPicture::DrawFirstFrame(Device& device, uint32_t width, uint32_t height) const {
    DrawQuad(device, 0, true, 1.0f, width, height);
    for (int slot = 1; slot <= 4; ++slot)
        if (LogoShown(slot)) DrawQuad(device, slot, false, 1.0f, width, height);
}
