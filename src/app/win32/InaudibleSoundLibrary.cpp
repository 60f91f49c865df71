#include "app/win32/InaudibleSoundLibrary.h"

#include <algorithm>
#include <span>

#include "platform/audio/VorbisDecoder.h"

namespace {

// A channel handle holds its sample's handle above its own number.
constexpr uint32_t kChannelBits = 8;
constexpr uint32_t kMaxChannels = 1u << kChannelBits;

}  // namespace

bool InaudibleSoundLibrary::Init(int device, uint32_t frequency, uint32_t, uintptr_t, const void*) {
    if (initialised_ || frequency == 0) return false;
    if (device != audio::kNoSoundDevice && device != audio::kDefaultDevice) return false;
    initialised_ = true;
    return true;
}

bool InaudibleSoundLibrary::Free() {
    if (!initialised_) return false;
    samples_.clear();
    initialised_ = false;
    return true;
}

audio::Handle InaudibleSoundLibrary::SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length,
                                                uint32_t max, uint32_t flags) {
    if (!initialised_ || !fromMemory || !file || length == 0 || offset >= length) return 0;
    // What a device would refuse: no Vorbis stream, or one that ends before its first sound.
    audio::VorbisDecoder decoder;
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(file) + offset, length - offset);
    if (!decoder.Open(bytes, (flags & (audio::BASS_SAMPLE_MONO | audio::BASS_SAMPLE_3D)) != 0)) return 0;
    int16_t first[2];
    if (decoder.Read(first, 1) == 0) return 0;
    samples_.push_back({std::clamp<uint32_t>(max, 1, kMaxChannels), 0});
    return static_cast<audio::Handle>(samples_.size());
}

audio::Handle InaudibleSoundLibrary::SampleGetChannel(audio::Handle sample, bool) {
    if (sample == 0 || sample > samples_.size()) return 0;
    Sample& s = samples_[sample - 1];
    const uint32_t channel = s.next;
    s.next = (s.next + 1) % s.max;
    return (sample << kChannelBits) | channel;
}

bool InaudibleSoundLibrary::KnownChannel(audio::Handle channel) const {
    const audio::Handle sample = channel >> kChannelBits;
    return sample != 0 && sample <= samples_.size() && (channel & (kMaxChannels - 1)) < samples_[sample - 1].max;
}
