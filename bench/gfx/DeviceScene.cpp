#include "DeviceScene.h"

#include <algorithm>

#include "BenchScene.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"

using namespace gfx;

namespace bench {
namespace {

constexpr uint32_t kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;

D3DCOLORVALUE Color(const float (&rgb)[3]) { return {rgb[0], rgb[1], rgb[2], 1}; }

}  // namespace

DeviceScene::DeviceScene(Device& device, uint32_t width, uint32_t height)
    : device_(device), published_(device), width_(width), height_(height) {
    for (uint32_t t = 0; t < 2; ++t) {
        device.CreateTexture(kTextureSize, kTextureSize, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, textures_[t]);
        for (uint32_t level = 0; level < textures_[t]->GetLevelCount(); ++level) {
            D3DLOCKED_RECT locked;
            D3DSURFACE_DESC desc;
            textures_[t]->GetLevelDesc(level, desc);
            textures_[t]->LockRect(level, locked, nullptr, 0);
            for (uint32_t y = 0; y < desc.Height; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
                for (uint32_t x = 0; x < desc.Width; ++x) row[x] = Texel(t, x, y);
            }
            textures_[t]->UnlockRect(level);
        }
    }

    const std::vector<GridVertex> grid = GridVertices();
    const std::vector<uint32_t> index = GridIndices();
    const auto vertexBytes = static_cast<uint32_t>(grid.size() * sizeof(GridVertex));
    const auto indexBytes = static_cast<uint32_t>(index.size() * sizeof(uint32_t));
    device.CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_DEFAULT, vertices_);
    device.CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT, indices_);
    void* data = nullptr;
    vertices_->Lock(0, 0, &data, 0);
    std::copy(grid.begin(), grid.end(), static_cast<GridVertex*>(data));
    vertices_->Unlock();
    indices_->Lock(0, 0, &data, 0);
    std::copy(index.begin(), index.end(), static_cast<uint32_t*>(data));
    indices_->Unlock();

    D3DLIGHT9 point;
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = Color(kPointLight.diffuse);
    point.Position = {kPointLight.position[0], kPointLight.position[1], kPointLight.position[2]};
    point.Range = kPointLight.range;
    point.Attenuation0 = kPointLight.attenuation0;
    point.Attenuation1 = kPointLight.attenuation1;
    D3DLIGHT9 sun;
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Diffuse = Color(kSun.diffuse);
    sun.Direction = {kSun.direction[0], kSun.direction[1], kSun.direction[2]};
    device.SetLight(0, &point);
    device.SetLight(1, &sun);
    device.LightEnable(0, true);
    device.LightEnable(1, true);
}

void DeviceScene::Frame(bool draw) {
    device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColor, 1.0f, 0);
    device_.BeginScene();
    if (draw) {
        DeviceStateCache& cache = DeviceStateCache::Get();
        cache.setTransform(D3DTS_PROJECTION, Projection(width_, height_));
        cache.setTransform(D3DTS_VIEW, math::Identity());
        device_.SetFVF(kFvf);
        device_.SetStreamSource(0, vertices_.get(), 0, sizeof(GridVertex));
        device_.SetIndices(indices_.get());
        for (uint32_t batch = 0; batch < kBatches; ++batch) DrawBatch(batch);
    }
    device_.EndScene();
    device_.Present();
}

void DeviceScene::DrawBatch(uint32_t batch) {
    DeviceStateCache& cache = DeviceStateCache::Get();
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
    cache.setRenderState(D3DRS_AMBIENT, kAmbient);
    for (uint32_t stage = 0; stage < 2; ++stage) {
        cache.setTextureStageState(stage, D3DTSS_TEXCOORDINDEX, stage);
        cache.setTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, 0);
        cache.setTexture(stage, textures_[TextureOf(stage, batch)].get());
        cache.setSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        cache.setSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        cache.setSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        cache.setTextureStageState(stage, D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_MODULATE2X);
        cache.setTextureStageState(stage, D3DTSS_COLORARG1, stage == 0 ? D3DTA_TEXTURE : D3DTA_CURRENT);
        cache.setTextureStageState(stage, D3DTSS_COLORARG2, stage == 0 ? D3DTA_DIFFUSE : D3DTA_TEXTURE);
        cache.setTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    }
    cache.setTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    cache.setTransform(D3DTS_WORLD, World(batch));
    device_.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kGridVertices, batch * kTrianglesPerBatch * 3,
                                 kTrianglesPerBatch);
}

}  // namespace bench
