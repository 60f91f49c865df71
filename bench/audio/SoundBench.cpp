// The sound's costs: start-up (device, the six samples of the build's media, the first pieces
// decoded), the per-frame steps with the allocations they make, and the generator's work.

#include <benchmark/benchmark.h>

#include <array>

#include "AllocationCounter.h"
#include "clock/ClockSound.h"
#include "ogg/OggVorbisWriter.h"
#include "platform/audio/OpenAlSoundLibrary.h"
#include "synth/Dsp.h"
#include "synth/Sounds.h"

namespace {

const EngineString kMedia(QUELMONT_BINARY_DIR "/media/tree/Media");

SettingsRecord AllSound() {
    SettingsRecord settings;
    settings.Music = settings.Sound = true;
    settings.Volume = 80;
    return settings;
}

// Device and all six files, as LoadContent does it; the rest of each file decodes behind.
void SoundStartup(benchmark::State& state) {
    for (auto _ : state) {
        audio::OpenAlSoundLibrary library;
        audio::SetSoundLibrary(&library);
        SettingsRecord settings = AllSound();
        ClockSound sound;
        sound.Start(settings, 0);
        sound.Load(settings, FileSource(kMedia), kMedia, {});
        const bool loaded = sound.musicSample != 0 && sound.ThunderLoaded();
        state.PauseTiming();
        sound.Shutdown(RunMode::Saver);
        audio::SetSoundLibrary(nullptr);
        if (!loaded) {
            state.SkipWithError("no output device, or the media did not load");
            break;
        }
        state.ResumeTiming();
    }
    state.SetLabel("target <= 50 ms");
}
// The saver starts its sound once per process: the first start also loads OpenAL's back ends.
// Registered first, so that it runs first.
void BM_SoundStartupFirstInProcess(benchmark::State& state) { SoundStartup(state); }
void BM_SoundStartupAgain(benchmark::State& state) { SoundStartup(state); }
BENCHMARK(BM_SoundStartupFirstInProcess)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
BENCHMARK(BM_SoundStartupAgain)->Unit(benchmark::kMillisecond)->Iterations(5);

// The device alone: what OpenAL takes to load its back ends and start its mixer.
void BM_SoundDevice(benchmark::State& state) {
    for (auto _ : state) {
        audio::OpenAlSoundLibrary library;
        if (!library.Init(audio::kDefaultDevice, 44100, audio::BASS_DEVICE_3D, 0, nullptr)) {
            state.SkipWithError("no output device (start a sound server, or set ALSOFT_DRIVERS=null)");
            break;
        }
        state.PauseTiming();
        library.Free();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SoundDevice)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SoundFrame(benchmark::State& state) {
    audio::OpenAlSoundLibrary library;
    audio::SetSoundLibrary(&library);
    SettingsRecord settings = AllSound();
    ClockSound sound;
    sound.Start(settings, 0);
    sound.Load(settings, FileSource(kMedia), kMedia, {10, 165, 0});
    if (sound.tickSample == 0) {
        state.SkipWithError("no output device, or the media did not load");
        audio::SetSoundLibrary(nullptr);
        return;
    }
    CameraPose camera{{-200, 100, 0}, {1, 0, 0}, {0, 1, 0}};
    sound.Update(settings, RunMode::Saver, camera);
    const long before = AllocationCount();
    for (auto _ : state) {
        camera.position.x += 0.01f;
        sound.Update(settings, RunMode::Saver, camera);
    }
    state.counters["allocations/frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations());
    state.SetLabel("target <= 20 us");
    sound.Shutdown(RunMode::Saver);
    audio::SetSoundLibrary(nullptr);
}
BENCHMARK(BM_SoundFrame)->Unit(benchmark::kMicrosecond);

template <typename Make>
void Encode(benchmark::State& state, Make make) {
    for (auto _ : state) {
        const mediagen::StereoSound sound = make();
        const std::array<std::span<const float>, 2> channels{sound.left, sound.right};
        benchmark::DoNotOptimize(mediagen::EncodeOggVorbis(channels, mediagen::kRate, 0.5f));
    }
}

void BM_GenerateTicks(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<float> ticks = mediagen::MakeTicks();
        const std::array<std::span<const float>, 1> mono{ticks};
        benchmark::DoNotOptimize(mediagen::EncodeOggVorbis(mono, mediagen::kRate, 0.5f));
    }
}
void BM_GenerateRain(benchmark::State& state) { Encode(state, mediagen::MakeRain); }
void BM_GenerateThunders(benchmark::State& state) {
    Encode(state, [] {
        mediagen::StereoSound all;
        for (int kind = 0; kind < 3; ++kind) {
            mediagen::StereoSound one = mediagen::MakeThunder(kind);
            all.left.insert(all.left.end(), one.left.begin(), one.left.end());
            all.right.insert(all.right.end(), one.right.begin(), one.right.end());
        }
        return all;
    });
}
void BM_GenerateMusic(benchmark::State& state) {
    Encode(state, [] { return mediagen::MakeMusic("/usr/share/sounds/sf3/MuseScore_General_Lite.sf3"); });
}
BENCHMARK(BM_GenerateTicks)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GenerateRain)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GenerateThunders)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GenerateMusic)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
