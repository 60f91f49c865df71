// Offscreen 1024 x 768 frames: clear and present alone (the floor), and 50,000 lit triangles
// with two texture stages drawn in 100 batches whose states go through the state cache. Reports
// frames per second and the state calls made against those requested.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/gl/HiddenWindow.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"

using namespace gfx;

namespace {

constexpr uint32_t kWidth = 1024;
constexpr uint32_t kHeight = 768;
constexpr uint32_t kBatches = 100;
constexpr uint32_t kColumns = 250;  // quads per grid row
constexpr uint32_t kRows = 100;     // 250 x 100 quads = 50,000 triangles
constexpr uint32_t kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;

struct Vertex {
    float x, y, z;
    float nx, ny, nz;
    float u0, v0, u1, v1;
};

struct Bench {
    std::unique_ptr<gl::HiddenWindow> window;
    Ref<Direct3D> d3d;
    Ref<Device> device;
    Ref<Texture> textures[2];
    Ref<VertexBuffer> vertices;
    Ref<IndexBuffer> indices;
};

Bench* Setup() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    auto* bench = new Bench;
    bench->window = std::make_unique<gl::HiddenWindow>(kWidth, kHeight);
    bench->d3d = PlatformDirect3DCreate9(D3D_SDK_VERSION);
    if (!bench->d3d || !bench->window->NativeHandle()) return bench;
    D3DPRESENT_PARAMETERS pp;
    pp.BackBufferWidth = kWidth;
    pp.BackBufferHeight = kHeight;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Windowed = true;
    pp.EnableAutoDepthStencil = true;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    bench->d3d->CreateDevice(0, D3DDEVTYPE_HAL, bench->window->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                             pp, bench->device);
    Device& device = *bench->device;
    PublishDevice(&device);

    for (int t = 0; t < 2; ++t) {
        device.CreateTexture(256, 256, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, bench->textures[t]);
        for (uint32_t level = 0; level < bench->textures[t]->GetLevelCount(); ++level) {
            D3DLOCKED_RECT locked;
            D3DSURFACE_DESC desc;
            bench->textures[t]->GetLevelDesc(level, desc);
            bench->textures[t]->LockRect(level, locked, nullptr, 0);
            for (uint32_t y = 0; y < desc.Height; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
                for (uint32_t x = 0; x < desc.Width; ++x) row[x] = ((x ^ y) & 8) ? 0xFFC08040 : 0xFF4080C0 + t;
            }
            bench->textures[t]->UnlockRect(level);
        }
    }

    // A grid in front of the camera, slightly curved so the lighting varies.
    std::vector<Vertex> grid;
    for (uint32_t r = 0; r <= kRows; ++r) {
        for (uint32_t c = 0; c <= kColumns; ++c) {
            const float x = (static_cast<float>(c) / kColumns - 0.5f) * 8.0f;
            const float y = (static_cast<float>(r) / kRows - 0.5f) * 6.0f;
            grid.push_back({x, y, 5.0f + 0.05f * x * x, -0.1f * x, 0, -1, x, y, x * 0.5f, y * 0.5f});
        }
    }
    std::vector<uint32_t> index;
    for (uint32_t r = 0; r < kRows; ++r) {
        for (uint32_t c = 0; c < kColumns; ++c) {
            const uint32_t a = r * (kColumns + 1) + c, b = a + 1, d = a + kColumns + 1, e = d + 1;
            index.insert(index.end(), {a, d, b, b, d, e});
        }
    }
    const auto vertexBytes = static_cast<uint32_t>(grid.size() * sizeof(Vertex));
    const auto indexBytes = static_cast<uint32_t>(index.size() * sizeof(uint32_t));
    device.CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_DEFAULT, bench->vertices);
    device.CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT, bench->indices);
    void* data = nullptr;
    bench->vertices->Lock(0, 0, &data, 0);
    std::copy(grid.begin(), grid.end(), static_cast<Vertex*>(data));
    bench->vertices->Unlock();
    bench->indices->Lock(0, 0, &data, 0);
    std::copy(index.begin(), index.end(), static_cast<uint32_t*>(data));
    bench->indices->Unlock();

    D3DLIGHT9 point;
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = {1, 0.9f, 0.8f, 1};
    point.Position = {0, 0, 2};
    point.Range = 50;
    point.Attenuation0 = 0.5f;
    point.Attenuation1 = 0.05f;
    D3DLIGHT9 sun;
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Diffuse = {0.3f, 0.3f, 0.4f, 1};
    sun.Direction = {0.3f, -0.5f, 1};
    device.SetLight(0, &point);
    device.SetLight(1, &sun);
    device.LightEnable(0, true);
    device.LightEnable(1, true);
    return bench;
}

Bench& Get() {
    static Bench* bench = Setup();
    return *bench;
}

void Frame(Device& device, bool draw) {
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030, 1.0f, 0);
    device.BeginScene();
    if (draw) {
        Bench& bench = Get();
        DeviceStateCache& cache = DeviceStateCache::Get();
        cache.setTransform(D3DTS_PROJECTION, math::PerspectiveFovLH(1.0471976f, 4.0f / 3.0f, 1.0f, 100.0f));
        cache.setTransform(D3DTS_VIEW, math::Identity());
        device.SetFVF(kFvf);
        device.SetStreamSource(0, bench.vertices.get(), 0, sizeof(Vertex));
        device.SetIndices(bench.indices.get());
        const uint32_t trianglesPerBatch = kColumns * kRows * 2 / kBatches;
        for (uint32_t batch = 0; batch < kBatches; ++batch) {
            // What a renderable's state block sets, mostly the same values as the one before.
            D3DMATERIAL9 material;
            material.Diffuse = material.Ambient = {1, 1, 1, 1};
            cache.setRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
            cache.setRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
            cache.setRenderState(D3DRS_ZWRITEENABLE, 1);
            cache.setMaterial(&material);
            cache.setRenderState(D3DRS_ALPHATESTENABLE, 0);
            cache.setRenderState(D3DRS_ALPHABLENDENABLE, 0);
            cache.setRenderState(D3DRS_LIGHTING, 1);
            cache.setRenderState(D3DRS_COLORVERTEX, 0);
            cache.setRenderState(D3DRS_AMBIENT, 0xFF202020);
            for (uint32_t stage = 0; stage < 2; ++stage) {
                cache.setTextureStageState(stage, D3DTSS_TEXCOORDINDEX, stage);
                cache.setTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, 0);
                cache.setTexture(stage, bench.textures[(stage + batch / 50) % 2].get());
                cache.setSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
                cache.setSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
                cache.setSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
                cache.setTextureStageState(stage, D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_MODULATE2X);
                cache.setTextureStageState(stage, D3DTSS_COLORARG1, stage == 0 ? D3DTA_TEXTURE : D3DTA_CURRENT);
                cache.setTextureStageState(stage, D3DTSS_COLORARG2, stage == 0 ? D3DTA_DIFFUSE : D3DTA_TEXTURE);
                cache.setTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            }
            cache.setTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
            cache.setTransform(D3DTS_WORLD, math::Translation(0, 0, 0.001f * static_cast<float>(batch % 2)));
            device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, (kColumns + 1) * (kRows + 1),
                                        batch * trianglesPerBatch * 3, trianglesPerBatch);
        }
    }
    device.EndScene();
    device.Present();
}

void Run(benchmark::State& state, bool draw) {
    Bench& bench = Get();
    if (!bench.device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    Frame(*bench.device, draw);  // shaders compiled outside the timing
    DeviceStateCache::Get().resetStats();
    for (auto _ : state) Frame(*bench.device, draw);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (draw) {
        const DeviceStateCache::Stats& stats = DeviceStateCache::Get().stats();
        const double frames = static_cast<double>(state.iterations());
        state.counters["state_calls_requested"] = static_cast<double>(stats.requested) / frames;
        state.counters["state_calls_made"] = static_cast<double>(stats.made) / frames;
        state.counters["triangles"] = kColumns * kRows * 2;
    }
}

void BM_ClearPresent(benchmark::State& state) { Run(state, false); }
void BM_LitTwoStageTriangles50k(benchmark::State& state) { Run(state, true); }

BENCHMARK(BM_ClearPresent)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LitTwoStageTriangles50k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
