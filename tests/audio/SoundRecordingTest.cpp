// The sound.wav of recordings made by the real program: the fade-in, the volume, which files the
// settings load, and thunder following a flash.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AudioTestSignals.h"
#include "support/CameraPathFile.h"
#include "support/ImageFile.h"
#include "support/ProgramRun.h"

namespace {

using audio_test::kRate;
using audio_test::Rms;

constexpr size_t kWavHeader = 44;

struct Recording {
    ProgramRun run;
    std::string trace;
    std::vector<int16_t> pcm;  // interleaved stereo
    std::string folder;
};

// A small, short recording; `extra` adds options such as --set or --seed.
Recording Record(const TempDir& dir, int seconds, int fps, std::vector<std::string> extra) {
    Recording r;
    r.folder = dir.path() + "/out";
    std::vector<std::string> args = {"--record", r.folder, "--seconds", std::to_string(seconds),
                                     "--size", "32x24", "--fps", std::to_string(fps)};
    args.insert(args.end(), extra.begin(), extra.end());
    r.run = RunProgram(dir, args);
    r.trace = ReadFile(r.folder + "/trace.log");
    const std::string wav = ReadFile(r.folder + "/sound.wav");
    if (wav.size() > kWavHeader) {
        r.pcm.resize((wav.size() - kWavHeader) / 2);
        std::memcpy(r.pcm.data(), wav.data() + kWavHeader, r.pcm.size() * 2);
    }
    return r;
}

size_t At(double seconds) { return static_cast<size_t>(seconds * kRate); }

// Both channels' RMS over a window centred on `seconds`.
double RmsAround(const std::vector<int16_t>& pcm, double seconds, double width = 0.1) {
    const size_t from = At(seconds - width / 2), to = At(seconds + width / 2);
    return (Rms(pcm, 0, from, to) + Rms(pcm, 1, from, to)) / 2;
}

bool Has(const std::string& trace, const std::string& text) { return trace.find(text) != std::string::npos; }

TEST(SoundRecording, FadesInFromSilenceToTheChosenVolumeAndIsSilentAtVolumeZero) {
    // Rain and ticks only: the music's own swells would hide the fade's shape. Seed 3's first
    // thunder is silent and the next flash comes after the recording.
    TempDir loudDir, fullDir;
    const std::vector<std::string> rainAndTicks = {"--set", "Music=0", "--seed", "3"};
    std::vector<std::string> loudArgs = rainAndTicks, fullArgs = rainAndTicks;
    loudArgs.insert(loudArgs.end(), {"--set", "Volume=80"});
    fullArgs.insert(fullArgs.end(), {"--set", "Volume=100"});
    const Recording loud = Record(loudDir, 5, 10, loudArgs);
    const Recording full = Record(fullDir, 5, 10, fullArgs);
    ASSERT_EQ(loud.run.exitCode, 0) << loud.run.errors;
    ASSERT_EQ(loud.pcm.size(), At(5) * 2);
    ASSERT_EQ(full.pcm.size(), At(5) * 2);

    // Silence at the start.
    EXPECT_LT(RmsAround(loud.pcm, 0.05), 1e-4);
    // After the fade, 80 % of the full volume's level.
    // Windows of a whole second hold one tick each.
    const double loudEnd = RmsAround(loud.pcm, 4.5, 1.0), fullEnd = RmsAround(full.pcm, 4.5, 1.0);
    ASSERT_GT(fullEnd, 0.005);
    EXPECT_NEAR(loudEnd / fullEnd, 0.8, 0.08);
    // Linear on the way: about half the final level at 2 s, a quarter at 1 s, three quarters at 3 s.
    for (const double t : {1.0, 2.0, 3.0}) {
        EXPECT_NEAR(RmsAround(loud.pcm, t, 1.0) / loudEnd, t / 4, 0.12) << t << " s";
    }

    TempDir dir;
    const Recording muted = Record(dir, 3, 10, {"--set", "Volume=0"});
    ASSERT_EQ(muted.run.exitCode, 0) << muted.run.errors;
    ASSERT_EQ(muted.pcm.size(), At(3) * 2);
    size_t loudSamples = 0;
    for (const int16_t s : muted.pcm) loudSamples += s != 0;
    EXPECT_EQ(loudSamples, 0u);
}

TEST(SoundRecording, TheSettingsChooseWhichSoundsLoad) {
    TempDir noMusicDir;
    const Recording noMusic = Record(noMusicDir, 2, 5, {"--set", "Music=0", "--set", "Volume=100"});
    ASSERT_EQ(noMusic.run.exitCode, 0) << noMusic.run.errors;
    EXPECT_FALSE(Has(noMusic.trace, "ClockMusic.ogg")) << noMusic.trace;
    EXPECT_TRUE(Has(noMusic.trace, "ClockRain.ogg sample loaded\n")) << noMusic.trace;
    EXPECT_TRUE(Has(noMusic.trace, "ClockGrom1.ogg sample loaded\n")) << noMusic.trace;
    // The rain is heard.
    EXPECT_GT(RmsAround(noMusic.pcm, 1.5, 0.5), 0.002);

    TempDir noSoundDir;
    const Recording noSound = Record(noSoundDir, 2, 5, {"--set", "Sound=0", "--set", "Volume=100"});
    ASSERT_EQ(noSound.run.exitCode, 0) << noSound.run.errors;
    EXPECT_TRUE(Has(noSound.trace, "ClockMusic.ogg sample loaded\n")) << noSound.trace;
    for (const char* file : {"ClockGrom", "ClockRain.ogg", "ClockTicks.ogg"})
        EXPECT_FALSE(Has(noSound.trace, file)) << file << "\n" << noSound.trace;
}

TEST(SoundRecording, ADamagedRainFileIsSkippedAndTheTicksComeOneSecondApart) {
    TempDir dir;
    // A loose media file overrides the archive's.
    std::filesystem::create_directory(dir.path() + "/Media");
    std::ofstream(dir.path() + "/Media/ClockRain.ogg") << "not a sound";
    const Recording r = Record(dir, 4, 10, {"--set", "Music=0", "--set", "Volume=100", "--seed", "3"});
    ASSERT_EQ(r.run.exitCode, 0) << r.run.errors;
    EXPECT_FALSE(Has(r.trace, "ClockRain.ogg sample loaded")) << r.trace;
    ASSERT_EQ(r.pcm.size(), At(4) * 2);

    // With only the ticks left (seed 3's thunder is silent), each tick starts out of silence.
    constexpr size_t kWindow = kRate / 100;
    std::vector<double> onsets;
    double before = 0;
    for (size_t w = 0; (w + 1) * kWindow <= At(4); ++w) {
        const size_t from = w * kWindow, to = from + kWindow;
        const double level = Rms(r.pcm, 0, from, to) + Rms(r.pcm, 1, from, to);
        if (level > 0.001 && before < level / 4) onsets.push_back(static_cast<double>(w) / 100);
        before = level;
    }
    ASSERT_GE(onsets.size(), 3u);
    for (size_t i = 1; i < onsets.size(); ++i) EXPECT_NEAR(onsets[i] - onsets[i - 1], 1.0, 0.03) << i;
}

// A camera path that holds one pose for 100 s: at `position`, turned `yawDegrees` about the
// vertical from looking along +z (90 looks along +x).
void WriteHeldCamera(const std::string& path, float x, float y, float z, float yawDegrees) {
    const float half = yawDegrees * 3.14159265f / 360;
    testing_support::WriteCameraPathFile(path, {0, {x, y, z}, {0, std::sin(half), 0, std::cos(half)}},
                                         {1000, {x, y, z}, {0, std::sin(half), 0, std::cos(half)}});
}

TEST(SoundRecording, TheTicksAreLouderNearTheHourHandAndOnItsSide) {
    // The ticks alone (no music, damaged rain and thunder files), heard from a camera held still:
    // the room's own first path file is replaced by a loose one and asked for first.
    struct Heard {
        double left = 0, right = 0;
    };
    auto ticksFrom = [](float x, float z, float yaw) {
        TempDir dir;
        std::filesystem::create_directory(dir.path() + "/Media");
        for (const char* file : {"ClockRain.ogg", "ClockGrom1.ogg", "ClockGrom2.ogg", "ClockGrom3.ogg"})
            std::ofstream(dir.path() + "/Media/" + file) << "not a sound";
        WriteHeldCamera(dir.path() + "/Media/c1.cam", x, 165, z, yaw);
        const Recording r = Record(dir, 3, 10, {"--set", "Music=0", "--set", "Volume=100", "--path", "c1.cam"});
        EXPECT_EQ(r.run.exitCode, 0) << r.run.errors;
        EXPECT_FALSE(Has(r.trace, "ClockRain.ogg sample loaded")) << r.trace;
        if (r.pcm.size() != At(3) * 2) return Heard{};
        // The same stretch of the fade-in in every run: three ticks.
        return Heard{Rms(r.pcm, 0, At(0.5), At(3)), Rms(r.pcm, 1, At(0.5), At(3))};
    };
    // The hour hand is at the dial, about (169, 165, 0), on the clock's face toward -x.
    const Heard near = ticksFrom(130, 0, 90), far = ticksFrom(-200, 0, 90);
    ASSERT_GT(far.left + far.right, 0);
    // gain = 1 / (1 + 0.1 (d - 1)): 39 units away against 369, eight times louder.
    EXPECT_NEAR((near.left + near.right) / (far.left + far.right), 7.9, 1.2);
    EXPECT_NEAR(near.left / near.right, 1.0, 0.1);  // straight ahead
    // Looking along -z the clock is on the left; along +z on the right.
    const Heard towardWindow = ticksFrom(130, 0, 180), towardDoor = ticksFrom(130, 0, 0);
    EXPECT_GT(towardWindow.left, 2 * towardWindow.right);
    EXPECT_GT(towardDoor.right, 2 * towardDoor.left);
}

// Mean brightness of a recorded frame.
double Brightness(const std::string& path) {
    gfx::ArgbImage frame;
    if (!ReadImageFile(path, frame)) return -1;
    double sum = 0;
    for (uint32_t y = 0; y < frame.height; ++y) {
        for (uint32_t x = 0; x < frame.width; ++x) {
            const uint32_t p = frame.Row(y)[x];
            sum += (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF);
        }
    }
    return sum / (3.0 * frame.width * frame.height);
}

TEST(SoundRecording, ThunderFollowsTheFlashByHalfASecond) {
    // Seed 4's first flash is a single one and brings a thunder at full volume; no music to mask
    // its onset.
    constexpr int kFps = 20;
    TempDir dir;
    const Recording r = Record(dir, 3, kFps, {"--set", "Music=0", "--set", "Volume=100", "--seed", "4"});
    ASSERT_EQ(r.run.exitCode, 0) << r.run.errors;
    ASSERT_EQ(r.pcm.size(), At(3) * 2);

    // The first flash: the first frame much brighter than the one before (other frames differ
    // from the one before by a few levels at most).
    int flashFrame = -1;
    double previous = -1;
    for (int k = 0; k < 3 * kFps && flashFrame < 0; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%05d.png", k);
        const double brightness = Brightness(r.folder + name);
        ASSERT_GE(brightness, 0) << name;
        if (previous >= 0 && brightness - previous > 20) flashFrame = k;
        previous = brightness;
    }
    ASSERT_GE(flashFrame, 0) << "no flash seen";
    const double flash = static_cast<double>(flashFrame) / kFps;
    ASSERT_LT(flash, 2.0);

    // Steady (only the fade's slow rise) until half a second after the flash, then the thunder.
    const double early = RmsAround(r.pcm, flash + 0.2, 0.1), justBefore = RmsAround(r.pcm, flash + 0.45, 0.1);
    const double after = RmsAround(r.pcm, flash + 0.7, 0.2);
    EXPECT_LT(justBefore, early * 1.3) << "sound rose before the thunder was due";
    EXPECT_GT(after, justBefore * 1.5) << "no thunder after the flash at " << flash << " s";
}

}  // namespace
