#pragma once
// The benchmark's scene as a plain OpenGL 3.3 program would draw it, on its own window and
// context: the same kind of target (colour and depth-stencil at the back buffer's size), the
// same textures, lights, draw calls and final gamma pass, with nothing translated. Our device's
// times are measured against it in the same process.

#include <array>
#include <memory>

#include "platform/gfx/gl/Gl.h"
#include "platform/gfx/HiddenWindow.h"

namespace bench {

class PlainGlScene {
public:
    PlainGlScene(uint32_t width, uint32_t height);
    ~PlainGlScene();
    PlainGlScene(const PlainGlScene&) = delete;
    PlainGlScene& operator=(const PlainGlScene&) = delete;

    bool Usable() const { return context_ != nullptr && program_ != 0 && gammaProgram_ != 0; }
    void MakeCurrent();
    // Clears, draws the grid when `draw`, runs the gamma pass and swaps, keeping two frames in
    // flight as our device does.
    void Frame(bool draw);

private:
    uint32_t width_, height_;
    std::unique_ptr<gfx::HiddenWindow> window_;
    void* context_ = nullptr;
    GLuint framebuffer_ = 0, color_ = 0, depthStencil_ = 0;
    GLuint textures_[2] = {}, ramp_ = 0;
    GLuint vertexArray_ = 0, vertices_ = 0, indices_ = 0, emptyVertexArray_ = 0;
    GLuint program_ = 0, gammaProgram_ = 0;
    GLint worldViewLocation_ = -1;
    std::array<GLsync, 2> fences_{};
    size_t nextFence_ = 0;
};

}  // namespace bench
