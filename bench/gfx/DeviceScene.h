#pragma once
// The benchmark's scene drawn through our Direct3D device, with its states set through the state
// cache the way the engine's renderables set them.

#include "platform/gfx/Device.h"
#include "scene/RenderDevice.h"

namespace bench {

class DeviceScene {
public:
    // Makes the scene's textures, buffers and lights on `device`; `width` x `height` is the
    // back buffer's size. The device must outlive the scene, and is the current device while it lives.
    DeviceScene(gfx::Device& device, uint32_t width, uint32_t height);
    // Clears, draws the grid when `draw`, and presents.
    void Frame(bool draw);
    // Sets what a renderable sets for batch `batch` (0-99) and draws it; in a scene.
    void DrawBatch(uint32_t batch);

private:
    gfx::Device& device_;
    PublishedDevice published_;
    uint32_t width_, height_;
    gfx::Ref<gfx::Texture> textures_[2];
    gfx::Ref<gfx::VertexBuffer> vertices_;
    gfx::Ref<gfx::IndexBuffer> indices_;
};

}  // namespace bench
