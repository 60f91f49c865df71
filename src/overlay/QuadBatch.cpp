#include "overlay/QuadBatch.h"

#include <algorithm>
#include <cstring>

#include "scene/DeviceStateCache.h"

using namespace gfx;

namespace {

struct RenderStateValue {
    D3DRENDERSTATETYPE state;
    uint32_t value;
};
constexpr RenderStateValue kRenderStates[] = {
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_ZWRITEENABLE, 0},
    {D3DRS_LIGHTING, 0},
    {D3DRS_FOGENABLE, 0},
    {D3DRS_ALPHATESTENABLE, 0},
    {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_ALPHABLENDENABLE, 1},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
};

struct StageStateValue {
    uint32_t stage;
    D3DTEXTURESTAGESTATETYPE type;
    uint32_t value;
};
// Stage 0's operations are chosen per run (texture or not); the rest is fixed.
constexpr StageStateValue kStageStates[] = {
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_TEXCOORDINDEX, 0},
    {0, D3DTSS_TEXTURETRANSFORMFLAGS, 0},
    {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
};

struct SamplerStateValue {
    D3DSAMPLERSTATETYPE type;
    uint32_t value;
};
constexpr SamplerStateValue kSamplerStates[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP}, {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},   {D3DSAMP_MIPFILTER, D3DTEXF_POINT},
};

constexpr size_t kSavedStates = std::size(kRenderStates) + std::size(kStageStates) + std::size(kSamplerStates);

}  // namespace

void WriteQuad(OverlayVertex* out, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1,
               uint32_t color) {
    x0 -= 0.5f, y0 -= 0.5f, x1 -= 0.5f, y1 -= 0.5f;
    const OverlayVertex a{x0, y0, 0.0f, 1.0f, color, u0, v0}, b{x1, y0, 0.0f, 1.0f, color, u1, v0};
    const OverlayVertex c{x1, y1, 0.0f, 1.0f, color, u1, v1}, d{x0, y1, 0.0f, 1.0f, color, u0, v1};
    out[0] = a, out[1] = b, out[2] = c, out[3] = a, out[4] = c, out[5] = d;
}

void QuadBatch::Begin() {
    vertexCount_ = 0;
    runCount_ = 0;
    drawCalls_ = 0;
}

void QuadBatch::Add(Texture* texture, std::span<const OverlayVertex> vertices, float dx, float dy) {
    const auto room = static_cast<uint32_t>(vertices_.size()) - vertexCount_;
    const auto count = std::min(static_cast<uint32_t>(vertices.size()) / 6 * 6, room / 6 * 6);
    if (count == 0) return;
    Run* last = runCount_ > 0 ? &runs_[runCount_ - 1] : nullptr;
    if (last && last->texture == texture) {
        last->vertexCount += count;
    } else if (runCount_ < kMaxRuns) {
        runs_[runCount_++] = {texture, vertexCount_, count};
    } else {
        return;
    }
    OverlayVertex* out = vertices_.data() + vertexCount_;
    for (uint32_t i = 0; i < count; ++i) {
        out[i] = vertices[i];
        out[i].x += dx;
        out[i].y += dy;
    }
    vertexCount_ += count;
}

bool QuadBatch::MakeBuffer(Device& device) {
    if (buffer_) return true;
    bufferUsed_ = 0;
    return SUCCEEDED(device.CreateVertexBuffer(kBufferVertices * static_cast<uint32_t>(sizeof(OverlayVertex)),
                                               D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kOverlayFvf, D3DPOOL_DEFAULT,
                                               buffer_));
}

void QuadBatch::Flush(Device& device) {
    if (vertexCount_ == 0 || !MakeBuffer(device)) return;
    // The frame's vertices go after those of earlier frames, which queued draws may still read;
    // only a full buffer is discarded, so the driver gives it new storage once in many frames.
    uint32_t flags = D3DLOCK_NOOVERWRITE;
    if (bufferUsed_ + vertexCount_ > kBufferVertices) {
        bufferUsed_ = 0;
        flags = D3DLOCK_DISCARD;
    }
    constexpr auto kStride = static_cast<uint32_t>(sizeof(OverlayVertex));
    void* data = nullptr;
    if (FAILED(buffer_->Lock(bufferUsed_ * kStride, vertexCount_ * kStride, &data, flags))) return;
    std::memcpy(data, vertices_.data(), vertexCount_ * kStride);
    buffer_->Unlock();
    const uint32_t first = bufferUsed_;
    bufferUsed_ += vertexCount_;

    SetStates();
    device.SetFVF(kOverlayFvf);
    device.SetStreamSource(0, buffer_.get(), 0, kStride);
    for (uint32_t i = 0; i < runCount_; ++i) {
        const Run& run = runs_[i];
        UseTexture(run.texture);
        if (SUCCEEDED(device.DrawPrimitive(D3DPT_TRIANGLELIST, first + run.firstVertex, run.vertexCount / 3))) ++drawCalls_;
    }
    device.SetStreamSource(0, nullptr, 0, 0);
    RestoreStates();
}

void QuadBatch::UseTexture(Texture* texture) {
    DeviceStateCache& cache = DeviceStateCache::Get();
    cache.setTexture(0, texture);
    const uint32_t op = texture ? D3DTOP_MODULATE : D3DTOP_SELECTARG2;
    cache.setTextureStageState(0, D3DTSS_COLOROP, op);
    cache.setTextureStageState(0, D3DTSS_ALPHAOP, op);
}

void QuadBatch::SetStates() {
    static_assert(kSavedStates <= std::tuple_size_v<decltype(saved_)>);
    DeviceStateCache& cache = DeviceStateCache::Get();
    size_t i = 0;
    for (const auto& [state, value] : kRenderStates) {
        cache.getRenderState(state, saved_[i++]);
        cache.setRenderState(state, value);
    }
    for (const auto& [stage, type, value] : kStageStates) {
        cache.getTextureStageState(stage, type, saved_[i++]);
        cache.setTextureStageState(stage, type, value);
    }
    for (const auto& [type, value] : kSamplerStates) {
        cache.getSamplerState(0, type, saved_[i++]);
        cache.setSamplerState(0, type, value);
    }
}

void QuadBatch::RestoreStates() {
    DeviceStateCache& cache = DeviceStateCache::Get();
    size_t i = 0;
    for (const auto& entry : kRenderStates) cache.setRenderState(entry.state, saved_[i++]);
    for (const auto& entry : kStageStates) cache.setTextureStageState(entry.stage, entry.type, saved_[i++]);
    for (const auto& entry : kSamplerStates) cache.setSamplerState(0, entry.type, saved_[i++]);
    cache.setTexture(0, nullptr);
}
