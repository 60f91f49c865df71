#pragma once
// Who is told about every presented frame (offscreen recording), and the presenting that tells it.

#include "platform/gfx/Device.h"

class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual void OnFramePresented(gfx::Device& device) = 0;
};

// Presents the back buffer, then tells `observer` when there is one.
void PresentFrame(gfx::Device& device, FrameObserver* observer);
