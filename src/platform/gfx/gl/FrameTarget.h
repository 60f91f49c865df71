#pragma once
// Where a device draws: an offscreen colour and depth target of the back buffer's size, stored
// upside down (row 0 is the top row) so OpenGL's edge rules give Direct3D's coverage. Presenting
// resolves it and runs the gamma ramp as a final pass through a 256-entry lookup texture into the
// window, so the ramp shows offscreen and in captured frames.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gfx/Types.h"
#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {

// The gamma pass: a triangle covering the window samples `frame` (unit 0, stored upside down)
// and looks each channel up in `ramp` (unit 1, 256 x 1).
extern const char* const kGammaPassVertexShader;
extern const char* const kGammaPassFragmentShader;

class FrameTarget {
public:
    FrameTarget() = default;
    FrameTarget(const FrameTarget&) = delete;
    FrameTarget& operator=(const FrameTarget&) = delete;
    ~FrameTarget();

    // (Re)makes the target; `samples` 0 or 1 for none. False when the driver refuses.
    bool Create(uint32_t width, uint32_t height, uint32_t samples, bool depth, D3DFORMAT depthFormat);
    // Binds the target and its viewport unless they still are.
    void BindForDrawing();
    void SetGammaRamp(const D3DGAMMARAMP& ramp);
    // Resolves and draws the gamma-corrected frame into the window's framebuffer.
    void Present(int windowWidth, int windowHeight);
    // The last presented frame, gamma applied, as ARGB words with the top row first.
    bool Capture(std::vector<uint32_t>& argb);
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }

private:
    void Release();
    void Resolve();
    void DrawGammaPass(GLuint framebuffer, int width, int height);

    uint32_t width_ = 0, height_ = 0;
    bool boundForDrawing_ = false;
    bool multisampled_ = false;
    GLuint framebuffer_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint resolveFramebuffer_ = 0, resolveTexture_ = 0;  // the single-sample colour the pass reads
    GLuint captureFramebuffer_ = 0, captureBuffer_ = 0;
    GLuint rampTexture_ = 0, gammaProgram_ = 0, emptyVertexArray_ = 0;
    // Frames in flight, as a Direct3D driver queues them: presenting waits for the oldest.
    std::array<GLsync, 2> frameFences_{};
    size_t nextFence_ = 0;
};

}  // namespace gfx::gl
