#pragma once
// The process-wide device the renderer draws with, published by the device framework when it
// creates the device and cleared when it releases it, with the capabilities read at creation.

#include "platform/gfx/Device.h"

// Null while there is no device.
gfx::Device* CurrentDevice();
const gfx::D3DCAPS9& CurrentDeviceCaps();
void PublishDevice(gfx::Device* device);
void PublishDeviceCaps(const gfx::D3DCAPS9& caps);
