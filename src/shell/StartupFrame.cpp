#include "shell/StartupFrame.h"

#include "common/Timing.h"

namespace {

constexpr int64_t kFadeMs = 200;
// With a clock that does not move (a test's), the fade still ends.
constexpr int kMostFadeFrames = 1000;

void BackBufferSize(gfx::Device& device, uint32_t& width, uint32_t& height) {
    gfx::D3DSURFACE_DESC desc;
    device.GetBackBufferDesc(desc);
    width = desc.Width;
    height = desc.Height;
}

// One frame of the picture alone at `opacity`.
void DrawStartupFrame(RenderFramework& framework, const StartupPicture& picture, float opacity,
                      FrameObserver* observer) {
    if (!framework.CheckDevice()) return;
    gfx::Device& device = *framework.Device();
    uint32_t width = 0, height = 0;
    BackBufferSize(device, width, height);
    device.Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (gfx::FAILED(device.BeginScene())) return;
    picture.DrawQuad(device, 0, true, opacity, width, height);
    device.EndScene();
    PresentFrame(device, observer);
}

}  // namespace

void ShowStartupPicture(RenderFramework& framework, StartupPicture& picture, TextureManager& textures,
                        FrameObserver* observer) {
    gfx::Device* device = framework.Device();
    if (!device) return;
    picture.Load(textures);
    uint32_t width = 0, height = 0;
    BackBufferSize(*device, width, height);
    device->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (gfx::SUCCEEDED(device->BeginScene())) {
        picture.DrawFirstFrame(*device, width, height);
        device->EndScene();
        PresentFrame(*device, observer);
    }
}

void FadeStartupPicture(RenderFramework& framework, StartupPicture& picture, FrameObserver* observer) {
    const Stopwatch fade;
    int frames = 0;
    for (int64_t elapsed = fade.Elapsed(); elapsed < kFadeMs && frames < kMostFadeFrames; elapsed = fade.Elapsed()) {
        DrawStartupFrame(framework, picture, 1.0f - static_cast<float>(elapsed) / static_cast<float>(kFadeMs), observer);
        ++frames;
    }
    picture.Release();
}
