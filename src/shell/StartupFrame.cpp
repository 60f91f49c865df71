// The startup picture's frames: the first one with the corner logos, and the fade to black.

#include "common/Timing.h"
#include "shell/Application.h"

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

}  // namespace

void Application::PresentFrame(gfx::Device& device) {
    device.Present();
    if (frameObserver_) frameObserver_->OnFramePresented(device);
}

void Application::ShowStartupPicture() {
    gfx::Device* device = Device();
    if (!device || !textures_) return;
    startupPicture_.Load(*textures_);
    uint32_t width = 0, height = 0;
    BackBufferSize(*device, width, height);
    device->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (gfx::SUCCEEDED(device->BeginScene())) {
        startupPicture_.DrawFirstFrame(*device, width, height);
        device->EndScene();
        PresentFrame(*device);
    }
}

void Application::DrawStartupFrame(float opacity) {
    if (!CheckDevice()) return;
    gfx::Device& device = *Device();
    uint32_t width = 0, height = 0;
    BackBufferSize(device, width, height);
    device.Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (gfx::FAILED(device.BeginScene())) return;
    startupPicture_.DrawQuad(device, 0, true, opacity, width, height);
    device.EndScene();
    PresentFrame(device);
}

void Application::FadeStartupPicture() {
    const Stopwatch fade;
    int frames = 0;
    for (int64_t elapsed = fade.Elapsed(); elapsed < kFadeMs && frames < kMostFadeFrames; elapsed = fade.Elapsed()) {
        DrawStartupFrame(1.0f - static_cast<float>(elapsed) / static_cast<float>(kFadeMs));
        ++frames;
    }
    startupPicture_.Release();
}
