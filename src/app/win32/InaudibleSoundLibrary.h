#pragma once
// The sound library of a recording on Windows, where no system library mixes offline: it takes
// every call a device would, refuses the files a device would refuse, and plays nothing. So the
// clock's sound runs as it does with a device (the same thunder is queued and drawn for), and a
// recording follows the same storm as one made where the sound is mixed into a file.

#include <vector>

#include "platform/audio/SoundLibrary.h"

class InaudibleSoundLibrary final : public audio::SoundLibrary {
public:
    bool Init(int device, uint32_t frequency, uint32_t flags, uintptr_t window, const void* classId) override;
    bool Free() override;
    bool Set3DFactors(float, float, float) override { return initialised_; }
    void Apply3D() override {}
    bool SetConfig(uint32_t option, uint32_t) override {
        return initialised_ && option == audio::BASS_CONFIG_GVOL_SAMPLE;
    }
    audio::Handle SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                             uint32_t flags) override;
    // Nothing plays, so every channel is free: each sample hands out its channels in turn.
    audio::Handle SampleGetChannel(audio::Handle sample, bool onlyNew) override;
    bool ChannelPlay(audio::Handle channel, bool) override { return KnownChannel(channel); }
    bool ChannelSetAttributes(audio::Handle channel, int, int, int) override { return KnownChannel(channel); }
    bool ChannelSet3DAttributes(audio::Handle channel, int, float, float, int, int, int) override {
        return KnownChannel(channel);
    }
    bool ChannelSet3DPosition(audio::Handle channel, const audio::Vector3*, const audio::Vector3*,
                              const audio::Vector3*) override {
        return KnownChannel(channel);
    }
    bool Set3DPosition(const audio::Vector3*, const audio::Vector3*, const audio::Vector3*,
                       const audio::Vector3*) override {
        return initialised_;
    }

private:
    struct Sample {
        uint32_t max = 1;
        uint32_t next = 0;
    };
    bool KnownChannel(audio::Handle channel) const;

    bool initialised_ = false;
    std::vector<Sample> samples_;
};
