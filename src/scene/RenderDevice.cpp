#include "scene/RenderDevice.h"

#include "scene/DeviceStateCache.h"

namespace {
gfx::Device* g_device = nullptr;
gfx::D3DCAPS9 g_caps;
}  // namespace

gfx::Device* CurrentDevice() { return g_device; }
const gfx::D3DCAPS9& CurrentDeviceCaps() { return g_caps; }

void PublishDevice(gfx::Device* device) {
    g_device = device;
    DeviceStateCache::Get().invalidate();
}

void PublishDeviceCaps(const gfx::D3DCAPS9& caps) { g_caps = caps; }
