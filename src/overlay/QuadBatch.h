#pragma once
// Draws the overlay's screen-space quads: the vertices of a frame go into one dynamic vertex
// buffer with one lock, after the last frame's, then each run of quads that shares a texture is
// one draw. The overlay's
// device states are set through the state cache at the start and put back at the end, so the
// scene of the next frame finds what it left.

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"
#include "platform/gfx/States.h"

// A pre-transformed vertex with a colour and one pair of texture coordinates.
struct OverlayVertex {
    float x, y, z, rhw;
    uint32_t color;
    float u, v;
};
inline constexpr uint32_t kOverlayFvf = gfx::D3DFVF_XYZRHW | gfx::D3DFVF_DIFFUSE | gfx::D3DFVF_TEX1;

// Six vertices (two triangles) of the quad (x0, y0)-(x1, y1) showing the texture area
// (u0, v0)-(u1, v1). Pixel edges lie half a pixel before the centres, so a texel maps onto
// one pixel at scale 1.
void WriteQuad(OverlayVertex* out, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1,
               uint32_t color);

class QuadBatch {
public:
    static constexpr uint32_t kMaxQuads = 256;
    static constexpr uint32_t kMaxRuns = 128;

    // Starts a frame: nothing is drawn until Flush.
    void Begin();
    // Adds quads (six vertices each) drawn with `texture` (null: the vertex colour alone). Quads
    // past the buffer's capacity are dropped. `dx`, `dy` move every vertex.
    void Add(gfx::Texture* texture, std::span<const OverlayVertex> vertices, float dx, float dy);
    // Uploads the frame's vertices and draws them run by run with the overlay's states.
    void Flush(gfx::Device& device);
    // Before a device reset: the buffer lives in the device's memory.
    void OnDeviceLost() { buffer_ = nullptr; }

    // Vertices the buffer holds: several frames' worth of both labels.
    static constexpr uint32_t kBufferVertices = kMaxQuads * 6;

    uint32_t DrawCalls() const { return drawCalls_; }

private:
    struct Run {
        gfx::Texture* texture;
        uint32_t firstVertex;
        uint32_t vertexCount;
    };
    bool MakeBuffer(gfx::Device& device);
    void SetStates();
    void RestoreStates();
    void UseTexture(gfx::Texture* texture);

    gfx::Ref<gfx::VertexBuffer> buffer_;
    uint32_t bufferUsed_ = 0;  // vertices written since the buffer was last discarded
    std::array<OverlayVertex, kMaxQuads * 6> vertices_{};
    uint32_t vertexCount_ = 0;
    std::array<Run, kMaxRuns> runs_{};
    uint32_t runCount_ = 0;
    uint32_t drawCalls_ = 0;
    // The values the overlay's states had before it set them.
    std::array<uint32_t, 32> saved_{};
};
