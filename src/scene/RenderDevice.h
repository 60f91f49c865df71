#pragma once
// The process-wide device the renderer draws with, published by the device framework when it
// creates the device and cleared when it releases it, with the capabilities read at creation.

#include "platform/gfx/Device.h"

// Null while there is no device.
gfx::Device* CurrentDevice();
const gfx::D3DCAPS9& CurrentDeviceCaps();
// Makes `device` (or none) the current device and forgets what the state cache knew of the last.
void PublishDevice(gfx::Device* device);
void PublishDeviceCaps(const gfx::D3DCAPS9& caps);

// `device` is the current device while this lives; for code that draws on a device of its own
// (tests, benchmarks, fuzzers, tools).
class PublishedDevice {
public:
    explicit PublishedDevice(gfx::Device& device) { PublishDevice(&device); }
    ~PublishedDevice() { PublishDevice(nullptr); }
    PublishedDevice(const PublishedDevice&) = delete;
    PublishedDevice& operator=(const PublishedDevice&) = delete;
};
