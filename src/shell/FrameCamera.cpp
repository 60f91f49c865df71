#include "shell/FrameCamera.h"

#include "scene/DeviceStateCache.h"
#include "shell/ScreenQuad.h"

void SetViewTransform(const CameraPose& camera) {
    const math::Vec3 at = camera.position + camera.forward;
    DeviceStateCache::Get().setTransform(gfx::D3DTS_VIEW, math::LookAtLH(camera.position, at, camera.up));
}

bool DrawPathFade(gfx::Device& device, const CameraPathPlayer& paths) {
    const float opacity = paths.FadeOpacity();
    if (opacity <= 0.0f) return true;
    gfx::D3DSURFACE_DESC back{};
    if (gfx::FAILED(device.GetBackBufferDesc(back))) return false;
    const ScreenBox screen{0, 0, static_cast<float>(back.Width), static_cast<float>(back.Height)};
    return DrawScreenQuad(device, screen, nullptr, OpacityColor(opacity, 0, 0, 0));
}
