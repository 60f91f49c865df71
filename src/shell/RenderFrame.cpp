// The frame: device check, clear, projection, the camera from its path, the scene's render
// states, the application's Render, the path's fade, and present.

#include <bit>

#include "common/Log.h"
#include "scene/DeviceStateCache.h"
#include "shell/Application.h"
#include "shell/FrameCamera.h"

using namespace gfx;

bool Application::RenderFrame() {
    if (!CheckDevice()) {
        Log("device lost\n");
        return false;
    }
    gfx::Device& device = *Device();
    DeviceStateCache& cache = DeviceStateCache::Get();
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, PackColor(scene.bgColor), 1.0f, 0);

    int x = 0, y = 0, width = 0, height = 0;
    GetClientArea(x, y, width, height);
    aspect_ = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    cache.setTransform(D3DTS_PROJECTION, math::PerspectiveFovLH(scene.fov, aspect_, scene.nearPlane, scene.farPlane));
    camera_ = cameraPaths_.Advance(fallbackCamera_);
    SetViewTransform(camera_);
    cache.setRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);

    if (SUCCEEDED(device.BeginScene())) {
        cache.setRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        cache.setSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        cache.setSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        cache.setSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        cache.setRenderState(D3DRS_AMBIENT, PackColor(scene.ambient));
        cache.setRenderState(D3DRS_FOGENABLE, scene.fogEnabled ? 1 : 0);
        cache.setRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
        cache.setRenderState(D3DRS_FOGCOLOR, PackColor(scene.fogColor));
        cache.setRenderState(D3DRS_FOGSTART, std::bit_cast<uint32_t>(scene.fogStart));
        cache.setRenderState(D3DRS_FOGEND, std::bit_cast<uint32_t>(scene.fogEnd));
        cache.setRenderState(D3DRS_RANGEFOGENABLE, 1);
        Render();
        Log(DrawPathFade(device, cameraPaths_) ? "fade quad ok\n" : "fade quad failed\n");
        device.Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        labels_.Windows().Draw(device, width, height);
        Log("window manager ok\n");
        device.EndScene();
    }
    PresentFrame(device, frameObserver_);
    Log("present ok\n");
    return true;
}
