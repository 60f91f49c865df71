#pragma once
// The clock room's sound: starting the sound library, loading the music, rain, ticks and thunder
// the settings ask for, the fade-in and the listener every frame, thunder for the storm, and
// release at the end. ClockApplication owns one and calls it from LoadContent, Update and
// Shutdown; the storm plays its thunder through it.

#include <array>
#include <cstdint>

#include "clock/Thunderstorm.h"
#include "common/EngineString.h"
#include "common/Timing.h"
#include "common/math/Math.h"
#include "platform/audio/SoundLibrary.h"
#include "resources/FileSource.h"
#include "shell/CameraControl.h"
#include "shell/CommandLine.h"
#include "shell/SettingsRecord.h"

class ClockSound final : public ThunderSound {
public:
    static constexpr int kThunderCount = 3;
    static constexpr int64_t kFadeInMs = 4000;

    // Calls the process-wide sound library (audio::GetSoundLibrary at Start).
    ClockSound() = default;

    // Inits the default device with 3D, or else the silent device with Music and Sound switched
    // off in `settings` for this run (the stored settings are untouched). The global sample volume
    // starts at 0. `settings` must outlive this object: the storm asks about them.
    void Start(SettingsRecord& settings, uintptr_t window);
    // Loads the files `settings` wants from `place` (its sources and archive; the path is made from
    // `mediaFolder` and the file name), starts the music, the rain and the ticks at `tickPosition`,
    // and restarts the fade-in.
    void Load(const SettingsRecord& settings, const FileSource& place, const EngineString& mediaFolder,
              const math::Vec3& tickPosition);
    // The first step of every frame: the fade-in (not in preview) and the listener at `camera`;
    // traced once a frame. An output device that has gone away leaves the rest of the run as on
    // the no-sound device: Music and Sound off in the settings given to Start, nothing loaded.
    void Update(const SettingsRecord& settings, RunMode mode, const CameraPose& camera);
    // Plays thunder sample `index` (0..2) on a new channel at `volume` (0..100).
    void PlayThunder(int index, int volume) override;
    // Silences and releases the library in the modes that own it (Saver, Test).
    void Shutdown(RunMode mode);

    // Sound effects are audible: Sound on and Volume not 0.
    static bool EffectsAudible(const SettingsRecord& settings);
    // Some sound is wanted: Music or Sound on and Volume not 0.
    static bool SoundWanted(const SettingsRecord& settings);
    // The storm queues thunder only when the first thunder sample loaded.
    bool ThunderLoaded() const override { return thunderSamples[0] != 0; }
    // Of the settings given to Start; false before it.
    bool EffectsAudible() const override { return settings_ && EffectsAudible(*settings_); }

    audio::Handle musicSample = 0;
    audio::Handle tickSample = 0;
    audio::Handle rainSample = 0;
    std::array<audio::Handle, kThunderCount> thunderSamples{};
    math::Vec3 tickPosition;
    Stopwatch volumeFadeTimer;

private:
    // Reads the file and loads it as a sample; 0 when it is missing or does not decode.
    audio::Handle LoadSample(const FileSource& place, const EngineString& path, uint32_t flags);
    audio::Handle PlayLooping(audio::Handle sample);
    // The fade-in and the listener.
    void Step(const SettingsRecord& settings, RunMode mode, const CameraPose& camera);
    void FallBackToSilence();

    audio::SoundLibrary* library_ = nullptr;
    SettingsRecord* settings_ = nullptr;
    bool started_ = false;
};
