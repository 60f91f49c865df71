#pragma once
// The sound library the clock calls: samples decoded from memory, channels played from them, a
// 3D listener, and a global sample volume. The numbers (device ids, flags, attribute ranges, the
// "unchanged" markers) are those of the library the engine was written against; coordinates are
// the engine's left-handed ones (x right, y up, z forward).

#include <cstdint>

namespace audio {

using Handle = uint32_t;  // a sample or a channel; 0 = none

// Init devices and flags.
constexpr int kNoSoundDevice = 0;
constexpr int kDefaultDevice = 1;
constexpr uint32_t BASS_DEVICE_3D = 4;
// Sample flags.
constexpr uint32_t BASS_SAMPLE_MONO = 2;
constexpr uint32_t BASS_SAMPLE_LOOP = 4;
constexpr uint32_t BASS_SAMPLE_3D = 8;
constexpr uint32_t BASS_SAMPLE_SOFTWARE = 16;
// SetConfig options.
constexpr uint32_t BASS_CONFIG_GVOL_SAMPLE = 4;  // 0..100
// 3D modes.
constexpr int BASS_3DMODE_NORMAL = 0;
constexpr int BASS_3DMODE_RELATIVE = 1;
constexpr int BASS_3DMODE_OFF = 2;
// "Leave unchanged" markers.
constexpr int kFrequencyUnchanged = -1;
constexpr int kVolumeUnchanged = -1;
constexpr int kPanUnchanged = -101;

struct Vector3 {
    float x = 0, y = 0, z = 0;
};

class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;

    // Device 1 is the default output, device 0 plays nothing but accepts every call. True on
    // success.
    virtual bool Init(int device, uint32_t frequency, uint32_t flags, uintptr_t window, const void* classId) = 0;
    // Ends every channel and sample and closes the device.
    virtual bool Free() = 0;
    // A negative value leaves that factor unchanged. distance: metres per unit; rolloff: 0..10,
    // 1 as in the real world; doppler likewise.
    virtual bool Set3DFactors(float distance, float rolloff, float doppler) = 0;
    virtual void Apply3D() = 0;
    virtual bool SetConfig(uint32_t option, uint32_t value) = 0;
    // Decodes an Ogg Vorbis file. The bytes are copied; `max` channels may play at once. A file
    // that is missing, cut short, not Vorbis or damaged before its first sound gives 0.
    virtual Handle SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                              uint32_t flags) = 0;
    // A channel of the sample; with `onlyNew`, 0 when all `max` channels are playing.
    virtual Handle SampleGetChannel(Handle sample, bool onlyNew) = 0;
    virtual bool ChannelPlay(Handle channel, bool restart) = 0;
    // frequency -1, volume -1 (0..100) and pan -101 (-100 left .. 100 right) leave a value as it is.
    virtual bool ChannelSetAttributes(Handle channel, int frequency, int volume, int pan) = 0;
    // Distances of 0 or less and angles or volumes below 0 leave a value as it is.
    virtual bool ChannelSet3DAttributes(Handle channel, int mode, float minDistance, float maxDistance,
                                        int insideAngle, int outsideAngle, int outsideVolume) = 0;
    // Null vectors leave a value as it is.
    virtual bool ChannelSet3DPosition(Handle channel, const Vector3* position, const Vector3* orientation,
                                      const Vector3* velocity) = 0;
    // The listener; null vectors leave a value as it is.
    virtual bool Set3DPosition(const Vector3* position, const Vector3* velocity, const Vector3* front,
                               const Vector3* top) = 0;

    // True once the output device has gone away (unplugged, its sound server ended): the library
    // has then let go of it and of every sample, and goes on as the no-sound device, whose calls
    // succeed and play nothing. Cheap enough to ask every frame.
    virtual bool DeviceLost() { return false; }
};

// The library the program calls: the platform's, unless replaced (recording, tests).
SoundLibrary& GetSoundLibrary();
// Replaces it process-wide; null restores the platform's. The caller keeps ownership.
void SetSoundLibrary(SoundLibrary* library);

}  // namespace audio
