#include "clock/ClockSound.h"

#include <algorithm>

#include "common/Log.h"

namespace {

constexpr uint32_t kFrequency = 44100;
constexpr uint32_t kMaxPlaybacks = 20;
constexpr uint32_t kTickFlags = audio::BASS_SAMPLE_LOOP | audio::BASS_SAMPLE_3D | audio::BASS_SAMPLE_MONO |
                                audio::BASS_SAMPLE_SOFTWARE;
constexpr const char* kThunderFiles[ClockSound::kThunderCount] = {"/ClockGrom1.ogg", "/ClockGrom2.ogg",
                                                                   "/ClockGrom3.ogg"};

audio::Vector3 ToVector(const math::Vec3& v) { return {v.x, v.y, v.z}; }

}  // namespace

bool ClockSound::EffectsAudible(const SettingsRecord& settings) { return settings.Sound && settings.Volume != 0; }

bool ClockSound::SoundWanted(const SettingsRecord& settings) {
    return (settings.Music || settings.Sound) && settings.Volume != 0;
}

void ClockSound::Start(SettingsRecord& settings, uintptr_t window) {
    library_ = &audio::GetSoundLibrary();
    settings_ = &settings;
    if (library_->Init(audio::kDefaultDevice, kFrequency, audio::BASS_DEVICE_3D, window, nullptr)) {
        Log("BASS inited\n");
    } else {
        Log("BASS not inited\n");
        library_->Init(audio::kNoSoundDevice, kFrequency, 0, window, nullptr);
        settings.Music = false;
        settings.Sound = false;
    }
    started_ = true;
    library_->Set3DFactors(-1.0f, 0.1f, -1.0f);
    library_->Apply3D();
    library_->SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, 0);
}

audio::Handle ClockSound::LoadSample(const FileSource& place, const EngineString& path, uint32_t flags) {
    FileSource source = place;
    source.path = path;
    ByteBlock bytes;
    bool reference = true;
    if (!source.ReadAll(bytes, reference)) return 0;
    return library_->SampleLoad(true, bytes.data, 0, bytes.size, kMaxPlaybacks, flags);
}

audio::Handle ClockSound::PlayLooping(audio::Handle sample) {
    const audio::Handle channel = library_->SampleGetChannel(sample, true);
    library_->ChannelPlay(channel, true);
    return channel;
}

void ClockSound::Load(const SettingsRecord& settings, const FileSource& place, const EngineString& mediaFolder,
                      const math::Vec3& position) {
    tickPosition = position;
    if (started_ && settings.Music) {
        const EngineString path = mediaFolder + "/ClockMusic.ogg";
        musicSample = LoadSample(place, path, audio::BASS_SAMPLE_LOOP);
        if (musicSample != 0) {
            Log(path + " sample loaded\n");
            PlayLooping(musicSample);
        }
    }
    if (started_ && settings.Sound) {
        const EngineString rainPath = mediaFolder + "/ClockRain.ogg";
        rainSample = LoadSample(place, rainPath, audio::BASS_SAMPLE_LOOP);
        if (rainSample != 0) Log(rainPath + " sample loaded\n");
        // Played even when the load failed: the calls then fail harmlessly.
        PlayLooping(rainSample);
        for (int i = 0; i < kThunderCount; ++i) {
            const EngineString path = mediaFolder + kThunderFiles[i];
            thunderSamples[i] = LoadSample(place, path, 0);
            if (thunderSamples[i] != 0) Log(path + " sample loaded\n");
        }
        tickSample = LoadSample(place, mediaFolder + "/ClockTicks.ogg", kTickFlags);
        const audio::Handle tick = PlayLooping(tickSample);
        const audio::Vector3 where = ToVector(tickPosition);
        const audio::Vector3 orientation{0.0f, 0.0f, 1.0f};
        library_->ChannelSet3DAttributes(tick, audio::BASS_3DMODE_NORMAL, 0.0f, 400.0f, 360, 360, 100);
        library_->ChannelSet3DPosition(tick, &where, &orientation, nullptr);
        library_->ChannelSetAttributes(tick, audio::kFrequencyUnchanged, 100, -1);
        library_->Apply3D();
    }
    volumeFadeTimer.Reset();
}

void ClockSound::Update(const SettingsRecord& settings, RunMode mode, const CameraPose& camera) {
    if (started_ && library_->DeviceLost()) FallBackToSilence();
    if (started_) Step(settings, mode, camera);
    Log("BASS stuff ok\n");
}

// As when no device opened at the start: no music, no effects, no thunder queued by the storm.
void ClockSound::FallBackToSilence() {
    settings_->Music = false;
    settings_->Sound = false;
    musicSample = tickSample = rainSample = 0;
    thunderSamples.fill(0);
}

void ClockSound::Step(const SettingsRecord& settings, RunMode mode, const CameraPose& camera) {
    if (mode != RunMode::Preview && SoundWanted(settings)) {
        // Clamped below too: a clock that stepped back must not make the volume negative.
        const float level = std::clamp(static_cast<float>(volumeFadeTimer.Elapsed()) / kFadeInMs, 0.0f, 1.0f);
        library_->SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, static_cast<uint32_t>(settings.Volume * level));
    }
    const audio::Vector3 position = ToVector(camera.position);
    const audio::Vector3 front = ToVector(camera.forward);
    const audio::Vector3 top = ToVector(camera.up);
    library_->Set3DPosition(&position, nullptr, &front, &top);
    library_->Apply3D();
}

void ClockSound::PlayThunder(int index, int volume) {
    if (!started_ || index < 0 || index >= kThunderCount) return;
    const audio::Handle channel = library_->SampleGetChannel(thunderSamples[index], true);
    library_->ChannelSetAttributes(channel, audio::kFrequencyUnchanged, volume, audio::kPanUnchanged);
    library_->ChannelPlay(channel, true);
}

void ClockSound::Shutdown(RunMode mode) {
    if (!started_ || (mode != RunMode::Saver && mode != RunMode::Test)) return;
    library_->SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, 0);
    library_->Free();
    started_ = false;
}
