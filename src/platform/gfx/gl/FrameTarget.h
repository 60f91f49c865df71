#pragma once
// Where a device draws: an offscreen colour and depth target of the back buffer's size, stored
// upside down (row 0 is the top row) so OpenGL's edge rules give Direct3D's coverage. Presenting
// resolves it and runs the gamma ramp as a final pass into the window, so the ramp shows offscreen
// and in captured frames. The pass looks each channel up in a 256-entry texture; a ramp that only
// adds a constant and clamps (the Gamma setting's own) is computed instead, and the identity
// copies: the same bytes for less work.

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

// How the pass applies a ramp (8-bit outputs, `ramp[c] >> 8`).
struct GammaPassKind {
    enum Kind { kLookup, kOffset, kCopy } kind = kLookup;
    int offset[3] = {};  // kOffset: each channel becomes clamp(c + offset, 0, 255)
};
GammaPassKind ClassifyGammaRamp(const D3DGAMMARAMP& ramp);

class FrameTarget {
public:
    // `fullWork`: every ramp goes through the lookup texture.
    explicit FrameTarget(bool fullWork) : fullWork_(fullWork) {}
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

    bool fullWork_;
    GammaPassKind pass_;
    uint32_t width_ = 0, height_ = 0;
    bool boundForDrawing_ = false;
    bool multisampled_ = false;
    GLuint framebuffer_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    GLuint resolveFramebuffer_ = 0, resolveTexture_ = 0;  // the single-sample colour the pass reads
    GLuint captureFramebuffer_ = 0, captureBuffer_ = 0;
    GLuint rampTexture_ = 0, emptyVertexArray_ = 0;
    GLuint lookupProgram_ = 0, offsetProgram_ = 0, copyProgram_ = 0;
    GLint offsetLocation_ = -1;
    // Frames in flight, as a Direct3D driver queues them: presenting waits for the oldest.
    std::array<GLsync, 2> frameFences_{};
    size_t nextFence_ = 0;
};

}  // namespace gfx::gl
