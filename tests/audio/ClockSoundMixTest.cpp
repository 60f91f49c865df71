// ClockSound with the real library and the build's sounds, mixed in step with a simulated clock
// as a recording does: what a listener would hear.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AudioTestSignals.h"
#include "clock/ClockSound.h"
#include "platform/audio/OpenAlSoundLibrary.h"
#include "platform/sys/Clock.h"
#include "support/TempDir.h"

namespace {

using audio_test::Rms;
constexpr int kFps = 50;
constexpr size_t kRate = 44100;

class Mix {
public:
    // A media folder holding only `files` of the build's sounds.
    explicit Mix(std::vector<std::string> files) {
        for (const std::string& name : files) {
            std::filesystem::copy_file(std::string(QUELMONT_BINARY_DIR) + "/media/tree/Media/" + name,
                                       dir_.path() + "/" + name);
        }
        audio::SetSoundLibrary(&library_);
    }
    ~Mix() { audio::SetSoundLibrary(nullptr); }

    // Loads with `settings` and runs `seconds` of frames; `frame` may change the camera or the
    // volume before each frame's sound step (or replace it when it returns false).
    std::vector<int16_t> Run(SettingsRecord settings, double seconds,
                             const std::function<bool(int64_t ms, CameraPose&)>& frame = {}) {
        sound_.Start(settings, 0);
        const EngineString media(dir_.path().c_str());
        sound_.Load(settings, FileSource(media), media, tickPosition);
        const int64_t frames = static_cast<int64_t>(seconds * kFps);
        std::vector<int16_t> pcm(static_cast<size_t>(frames) * kRate / kFps * 2);
        size_t rendered = 0;
        for (int64_t k = 0; k < frames; ++k) {
            clock_.SetMs(k * 1000 / kFps);
            if (!frame || frame(clock_.Ms(), camera)) sound_.Update(settings, RunMode::Saver, camera);
            const size_t target = static_cast<size_t>(k + 1) * kRate / kFps;
            library_.Render(pcm.data() + rendered * 2, static_cast<uint32_t>(target - rendered));
            rendered = target;
        }
        sound_.Shutdown(RunMode::Saver);
        return pcm;
    }

    ClockSound& Sound() { return sound_; }

    math::Vec3 tickPosition{185, 165, 0};
    CameraPose camera{{-200, 100, 0}, {1, 0, 0}, {0, 1, 0}};

private:
    TempDir dir_;
    sys::TestClock clock_{0};
    sys::ScopedClock useClock_{clock_};
    audio::OpenAlSoundLibrary library_{audio::OpenAlSoundLibrary::Output::Loopback};
    ClockSound sound_;
};

SettingsRecord Settings(int volume) {
    SettingsRecord settings;
    settings.Music = settings.Sound = true;
    settings.Volume = volume;
    return settings;
}

size_t At(double seconds) { return static_cast<size_t>(seconds * kRate); }

TEST(ClockSoundMix, TheRainFadesInLinearlyToTheChosenVolume) {
    const std::vector<int16_t> faded = Mix({"ClockRain.ogg"}).Run(Settings(80), 5.0);
    // The same rain held at fixed global volumes, for reference.
    std::vector<int16_t> at40, at80;
    for (auto [volume, out] : {std::pair{40, &at40}, std::pair{80, &at80}}) {
        Mix reference({"ClockRain.ogg"});
        *out = reference.Run(Settings(80), 5.0, [&, volume = volume](int64_t, CameraPose&) {
            audio::GetSoundLibrary().SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, static_cast<uint32_t>(volume));
            return false;
        });
    }
    EXPECT_LT(Rms(faded, 0, 0, At(0.02)), 0.002);  // silence at the start
    // Half the volume at 2 s, all of it from 4 s on.
    EXPECT_NEAR(Rms(faded, 0, At(1.98), At(2.02)) / Rms(at40, 0, At(1.98), At(2.02)), 1.0, 0.05);
    EXPECT_NEAR(Rms(faded, 0, At(4.0), At(5.0)) / Rms(at80, 0, At(4.0), At(5.0)), 1.0, 0.01);
    EXPECT_NEAR(Rms(faded, 0, At(0.98), At(1.02)) / Rms(at80, 0, At(0.98), At(1.02)), 0.25, 0.03);
}

TEST(ClockSoundMix, VolumeZeroIsSilentAllTheTime) {
    const std::vector<int16_t> pcm = Mix({"ClockRain.ogg", "ClockTicks.ogg"}).Run(Settings(0), 3.0);
    EXPECT_EQ(pcm, std::vector<int16_t>(pcm.size(), 0));
}

TEST(ClockSoundMix, TheTicksAreLouderNearTheHourHandAndOnItsSide) {
    auto ticks = [](math::Vec3 position, math::Vec3 forward) {
        Mix mix({"ClockTicks.ogg"});
        mix.camera = {position, forward, {0, 1, 0}};
        const std::vector<int16_t> pcm = mix.Run(Settings(100), 6.0);
        return std::pair{Rms(pcm, 0, At(4), At(6)), Rms(pcm, 1, At(4), At(6))};
    };
    // Facing the clock from across the room and from close by.
    const auto [farLeft, farRight] = ticks({-200, 165, 0}, {1, 0, 0});
    const auto [nearLeft, nearRight] = ticks({150, 165, 0}, {1, 0, 0});
    EXPECT_GT(nearLeft + nearRight, 4 * (farLeft + farRight));
    EXPECT_NEAR(nearLeft / nearRight, 1.0, 0.1);  // straight ahead
    // Looking along -z with the clock at +x: left-handed, +x is then on the left.
    const auto [sideLeft, sideRight] = ticks({150, 165, 0}, {0, 0, -1});
    EXPECT_GT(sideLeft, 2 * sideRight);
    const auto [otherLeft, otherRight] = ticks({150, 165, 0}, {0, 0, 1});
    EXPECT_GT(otherRight, 2 * otherLeft);
}

TEST(ClockSoundMix, TheTicksCarryOverTheRainAcrossTheRoom) {
    // In the band where the ticking speaks (1.3 to 3.5 kHz), its strongest 20 ms against the
    // rain's steady level, from the middle of the room and from its far side.
    auto heard = [](std::vector<std::string> files, float x) {
        Mix mix(std::move(files));
        mix.tickPosition = {169, 165, 0};
        mix.camera = {{x, 165, 0}, {1, 0, 0}, {0, 1, 0}};
        const std::vector<double> band = audio_test::Band(mix.Run(Settings(100), 6.5), 2100, 0.9);
        double loudest = 0;
        for (size_t from = At(4.5); from + At(0.02) <= At(6.5); from += At(0.005))
            loudest = std::max(loudest, audio_test::Rms(band, from, from + At(0.02)));
        return std::pair{loudest, audio_test::Rms(band, At(4.5), At(6.5))};
    };
    for (const auto& [x, decibels] : {std::pair{57.0f, 8.0}, std::pair{-200.0f, 0.0}}) {
        const double ticks = heard({"ClockTicks.ogg"}, x).first, rain = heard({"ClockRain.ogg"}, x).second;
        ASSERT_GT(rain, 0);
        EXPECT_GT(20 * std::log10(ticks / rain), decibels) << "camera " << 169 - x << " units from the hour hand";
    }
}

TEST(ClockSoundMix, ThunderIsHeardFromTheFrameThatPlaysIt) {
    Mix mix({"ClockGrom1.ogg", "ClockGrom2.ogg", "ClockGrom3.ogg"});
    const std::vector<int16_t> pcm = mix.Run(Settings(100), 4.0, [&](int64_t ms, CameraPose&) {
        if (ms == 3000) mix.Sound().PlayThunder(0, 100);
        return true;
    });
    EXPECT_EQ(Rms(pcm, 0, 0, At(3.0)) + Rms(pcm, 1, 0, At(3.0)), 0.0);
    EXPECT_GT(Rms(pcm, 0, At(3.0), At(3.1)), 0.05);  // the near crack, within a frame
    EXPECT_GT(Rms(pcm, 1, At(3.0), At(3.1)), 0.05);
}

}  // namespace
