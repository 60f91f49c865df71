#pragma once
// The sound library on DirectSound. Each sample is decoded whole when it loads; each channel is a
// secondary buffer of its own (a 3D buffer for a 3D sample), the listener sits on the primary
// buffer, 3D changes wait for Apply3D (DirectSound's deferred settings), and the global sample
// volume scales every channel's own volume. DirectSound's coordinates are the engine's.

#include <cstdint>
#include <memory>

#include "platform/audio/SoundLibrary.h"

namespace audio {

class DirectSoundLibrary final : public SoundLibrary {
public:
    DirectSoundLibrary();
    ~DirectSoundLibrary() override;

    bool Init(int device, uint32_t frequency, uint32_t flags, uintptr_t window, const void* classId) override;
    bool Free() override;
    bool Set3DFactors(float distance, float rolloff, float doppler) override;
    void Apply3D() override;
    bool SetConfig(uint32_t option, uint32_t value) override;
    Handle SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                      uint32_t flags) override;
    Handle SampleGetChannel(Handle sample, bool onlyNew) override;
    bool ChannelPlay(Handle channel, bool restart) override;
    bool ChannelSetAttributes(Handle channel, int frequency, int volume, int pan) override;
    bool ChannelSet3DAttributes(Handle channel, int mode, float minDistance, float maxDistance, int insideAngle,
                                int outsideAngle, int outsideVolume) override;
    bool ChannelSet3DPosition(Handle channel, const Vector3* position, const Vector3* orientation,
                              const Vector3* velocity) override;
    bool Set3DPosition(const Vector3* position, const Vector3* velocity, const Vector3* front,
                       const Vector3* top) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// DirectSound volumes and pans are attenuations in hundredths of a decibel; ours are linear.
// Gain 1 is 0, gain 0 (and anything below the quietest DirectSound plays) is -10000.
long GainToHundredthsDb(float gain);
// Our pan, -100 (left) to 100 (right): the other side fades linearly.
long PanToDirectSound(int pan);

}  // namespace audio
