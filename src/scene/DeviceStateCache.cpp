#include "scene/DeviceStateCache.h"

#include <cstring>

#include "scene/RenderDevice.h"

namespace {

template <typename T>
bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameValue(uint32_t a, uint32_t b) { return a == b; }

}  // namespace

DeviceStateCache& DeviceStateCache::Get() {
    static DeviceStateCache cache;
    return cache;
}

template <typename T, typename Equal, typename Call>
bool DeviceStateCache::Set(Entry<T>& entry, const T& value, Equal equal, Call call) {
    ++stats_.requested;
    gfx::Device* device = CurrentDevice();
    if (device == nullptr) return false;
    if (enabled_ && entry.known && equal(entry.value, value)) return true;
    entry.value = value;
    entry.known = true;
    ++stats_.made;
    return gfx::SUCCEEDED(call(*device));
}

template <typename T, typename Call>
bool DeviceStateCache::GetValue(Entry<T>& entry, T& out, Call call) {
    if (!entry.known) {
        gfx::Device* device = CurrentDevice();
        if (device == nullptr || gfx::FAILED(call(*device, entry.value))) return false;
        entry.known = true;
    }
    out = entry.value;
    return true;
}

bool DeviceStateCache::setRenderState(gfx::D3DRENDERSTATETYPE state, uint32_t value) {
    if (state >= gfx::kRenderStateCount) return false;
    return Set(renderStates_[state], value, SameValue,
               [&](gfx::Device& d) { return d.SetRenderState(state, value); });
}

bool DeviceStateCache::getRenderState(gfx::D3DRENDERSTATETYPE state, uint32_t& out) {
    if (state >= gfx::kRenderStateCount) return false;
    return GetValue(renderStates_[state], out, [&](gfx::Device& d, uint32_t& v) { return d.GetRenderState(state, &v); });
}

bool DeviceStateCache::setTextureStageState(uint32_t stage, gfx::D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
    if (stage >= gfx::kMaxTextureStages || type >= gfx::kTextureStageStateCount) return false;
    return Set(stageStates_[stage][type], value, SameValue,
               [&](gfx::Device& d) { return d.SetTextureStageState(stage, type, value); });
}

bool DeviceStateCache::getTextureStageState(uint32_t stage, gfx::D3DTEXTURESTAGESTATETYPE type, uint32_t& out) {
    if (stage >= gfx::kMaxTextureStages || type >= gfx::kTextureStageStateCount) return false;
    return GetValue(stageStates_[stage][type], out,
                    [&](gfx::Device& d, uint32_t& v) { return d.GetTextureStageState(stage, type, &v); });
}

bool DeviceStateCache::setSamplerState(uint32_t sampler, gfx::D3DSAMPLERSTATETYPE type, uint32_t value) {
    if (sampler >= gfx::kMaxTextureStages || type >= gfx::kSamplerStateCount) return false;
    return Set(samplerStates_[sampler][type], value, SameValue,
               [&](gfx::Device& d) { return d.SetSamplerState(sampler, type, value); });
}

bool DeviceStateCache::getSamplerState(uint32_t sampler, gfx::D3DSAMPLERSTATETYPE type, uint32_t& out) {
    if (sampler >= gfx::kMaxTextureStages || type >= gfx::kSamplerStateCount) return false;
    return GetValue(samplerStates_[sampler][type], out,
                    [&](gfx::Device& d, uint32_t& v) { return d.GetSamplerState(sampler, type, &v); });
}

bool DeviceStateCache::setTexture(uint32_t stage, gfx::Texture* texture) {
    if (stage >= gfx::kMaxTextureStages) return false;
    return Set(
        textures_[stage], texture, [](gfx::Texture* a, gfx::Texture* b) { return a == b; },
        [&](gfx::Device& d) { return d.SetTexture(stage, texture); });
}

bool DeviceStateCache::setTransform(gfx::D3DTRANSFORMSTATETYPE index, const gfx::D3DMATRIX& matrix) {
    uint32_t slot = 0;
    if (!gfx::TransformSlot(index, slot)) return false;
    return Set(transforms_[slot], matrix, SameBytes<gfx::D3DMATRIX>,
               [&](gfx::Device& d) { return d.SetTransform(index, &matrix); });
}

bool DeviceStateCache::getTransform(gfx::D3DTRANSFORMSTATETYPE index, gfx::D3DMATRIX& out) {
    uint32_t slot = 0;
    if (!gfx::TransformSlot(index, slot)) return false;
    return GetValue(transforms_[slot], out, [&](gfx::Device& d, gfx::D3DMATRIX& m) { return d.GetTransform(index, &m); });
}

bool DeviceStateCache::setMaterial(const gfx::D3DMATERIAL9* material) {
    const gfx::D3DMATERIAL9 value = material ? *material : gfx::D3DMATERIAL9{};
    return Set(material_, value, SameBytes<gfx::D3DMATERIAL9>,
               [&](gfx::Device& d) { return d.SetMaterial(material); });
}

bool DeviceStateCache::getMaterial(gfx::D3DMATERIAL9& out) {
    return GetValue(material_, out, [](gfx::Device& d, gfx::D3DMATERIAL9& m) { return d.GetMaterial(&m); });
}

void DeviceStateCache::invalidate() {
    auto forget = [](auto& table) {
        for (auto& entry : table) entry.known = false;
    };
    forget(renderStates_);
    for (auto& stage : stageStates_) forget(stage);
    for (auto& sampler : samplerStates_) forget(sampler);
    forget(textures_);
    forget(transforms_);
    material_.known = false;
}
