#pragma once
// How the sound libraries number samples and channels. A sample's handle is its index + 1; a
// channel's carries its sample, a slot among the sample's channels and the slot's generation, so
// a handle kept after its channel was taken for another playback no longer reaches it.

#include <cstddef>
#include <cstdint>

#include "platform/audio/SoundLibrary.h"

namespace audio {

constexpr uint32_t kMaxChannelsPerSample = 32;  // channel handles keep 5 bits for the slot
constexpr uint32_t kMaxSamples = 0x7FFF;

struct ChannelRef {
    uint32_t sample = 0;  // index
    uint32_t generation = 0;  // of the slot, as far as the handle keeps it
    uint32_t slot = 0;
};

inline constexpr Handle kChannelBit = 0x80000000u;
inline constexpr uint32_t kGenerationMask = 0x3FF;

inline Handle ChannelHandle(uint32_t sample, uint32_t generation, size_t slot) {
    return kChannelBit | (sample << 16) | ((generation & kGenerationMask) << 5) | static_cast<uint32_t>(slot);
}

// False for a handle that is not a channel's.
inline bool ReadChannelHandle(Handle handle, ChannelRef& ref) {
    if (!(handle & kChannelBit)) return false;
    ref.sample = (handle >> 16) & kMaxSamples;
    ref.generation = (handle >> 5) & kGenerationMask;
    ref.slot = handle & 31;
    return true;
}

// The index of a sample's handle, or -1 for a handle that is not a sample's of `count`.
inline long SampleIndex(Handle handle, size_t count) {
    if (handle == 0 || (handle & kChannelBit) || handle > count) return -1;
    return static_cast<long>(handle - 1);
}

}  // namespace audio
