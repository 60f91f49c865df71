#include "shell/FrameObserver.h"

void PresentFrame(gfx::Device& device, FrameObserver* observer) {
    device.Present();
    if (observer) observer->OnFramePresented(device);
}
