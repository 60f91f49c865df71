#pragma once
// The sound library on OpenAL Soft, with Ogg Vorbis samples decoded by libvorbisfile. Beyond
// their first second, samples decode on a worker thread and join the channels as they come, so a
// long piece of music costs start-up almost nothing. A loopback library mixes only when asked,
// for recordings in step with a simulated clock.

#include <cstdint>
#include <memory>

#include "platform/audio/SoundLibrary.h"

namespace audio {

class OpenAlSoundLibrary final : public SoundLibrary {
public:
    enum class Output { Device, Loopback };
    static constexpr uint32_t kLoopbackRate = 44100;

    explicit OpenAlSoundLibrary(Output output = Output::Device);
    ~OpenAlSoundLibrary() override;

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
    bool DeviceLost() override;

    // Tests: the device reports itself disconnected from now on, as OpenAL does after an unplug.
    void SimulateDisconnect();

    // Loopback only: mixes the next `frames` stereo frames at kLoopbackRate into `out`, after every
    // pending decode has joined its channels (so the same calls give the same sound). Silence
    // when nothing is initialised.
    void Render(int16_t* out, uint32_t frames);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace audio
