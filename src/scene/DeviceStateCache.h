#pragma once
// A process-wide shadow of the device's state: a setter that would not change anything makes no
// device call. Code that touches the device behind the cache's back must `invalidate()` it.
// Its tables have the device's bounds: a number the device would refuse is refused here, before it
// can be remembered as set.

#include <array>
#include <cstdint>

#include "platform/gfx/Device.h"

class DeviceStateCache {
public:
    // Setter calls made to the cache, and the calls that reached the device.
    struct Stats {
        uint64_t requested = 0;
        uint64_t made = 0;
    };

    // The one cache of the process; it talks to `CurrentDevice()`.
    static DeviceStateCache& Get();

    bool setRenderState(gfx::D3DRENDERSTATETYPE state, uint32_t value);
    bool getRenderState(gfx::D3DRENDERSTATETYPE state, uint32_t& out);
    bool setTextureStageState(uint32_t stage, gfx::D3DTEXTURESTAGESTATETYPE type, uint32_t value);
    bool getTextureStageState(uint32_t stage, gfx::D3DTEXTURESTAGESTATETYPE type, uint32_t& out);
    bool setSamplerState(uint32_t sampler, gfx::D3DSAMPLERSTATETYPE type, uint32_t value);
    bool getSamplerState(uint32_t sampler, gfx::D3DSAMPLERSTATETYPE type, uint32_t& out);
    bool setTexture(uint32_t stage, gfx::Texture* texture);
    bool setTransform(gfx::D3DTRANSFORMSTATETYPE index, const gfx::D3DMATRIX& matrix);
    bool getTransform(gfx::D3DTRANSFORMSTATETYPE index, gfx::D3DMATRIX& out);
    // Null stores an all-zero material and passes null on.
    bool setMaterial(const gfx::D3DMATERIAL9* material);
    bool getMaterial(gfx::D3DMATERIAL9& out);
    // Forgets every value: after a device reset, or when the device was changed directly.
    void invalidate();

    const Stats& stats() const { return stats_; }
    void resetStats() { stats_ = {}; }
    // Debugging aid: when off, every setter reaches the device.
    void setEnabled(bool enabled) { enabled_ = enabled; }

private:
    template <typename T>
    struct Entry {
        bool known = false;
        T value{};
    };

    // Shared setter logic: compare, store, call the device.
    template <typename T, typename Equal, typename Call>
    bool Set(Entry<T>& entry, const T& value, Equal equal, Call call);
    template <typename T, typename Call>
    bool GetValue(Entry<T>& entry, T& out, Call call);

    std::array<Entry<uint32_t>, gfx::kRenderStateCount> renderStates_;
    std::array<std::array<Entry<uint32_t>, gfx::kTextureStageStateCount>, gfx::kMaxTextureStages> stageStates_;
    std::array<std::array<Entry<uint32_t>, gfx::kSamplerStateCount>, gfx::kMaxTextureStages> samplerStates_;
    std::array<Entry<gfx::Texture*>, gfx::kMaxTextureStages> textures_;
    std::array<Entry<gfx::D3DMATRIX>, gfx::kTransformSlotCount> transforms_;
    Entry<gfx::D3DMATERIAL9> material_;
    Stats stats_;
    bool enabled_ = true;
};
