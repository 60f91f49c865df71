#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "AudioTestSignals.h"
#include "platform/audio/OpenAlSoundLibrary.h"

namespace {

using namespace audio;
using audio_test::Rms;

// OpenAL reads its drivers once, when it is first used: the silent one, so that the default
// device opens on machines without sound.
const bool nullDriver = setenv("ALSOFT_DRIVERS", "null", 1) == 0;

class Loopback : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.Init(kDefaultDevice, 44100, BASS_DEVICE_3D, 0, nullptr)); }

    Handle Load(const std::vector<uint8_t>& file, uint32_t flags, uint32_t max = 20) {
        return library.SampleLoad(true, file.data(), 0, static_cast<uint32_t>(file.size()), max, flags);
    }
    Handle Play(Handle sample) {
        const Handle channel = library.SampleGetChannel(sample, true);
        EXPECT_TRUE(library.ChannelPlay(channel, true));
        return channel;
    }
    std::vector<int16_t> Render(double seconds) {
        std::vector<int16_t> pcm(static_cast<size_t>(seconds * 44100) * 2);
        library.Render(pcm.data(), static_cast<uint32_t>(pcm.size() / 2));
        return pcm;
    }
    void Listen(Vector3 position, Vector3 front) {
        const Vector3 up{0, 1, 0};
        ASSERT_TRUE(library.Set3DPosition(&position, nullptr, &front, &up));
    }

    OpenAlSoundLibrary library{OpenAlSoundLibrary::Output::Loopback};
};

TEST_F(Loopback, SourcesAreHeardOnTheSideWhereTheyStandInTheEnginesCoordinates) {
    // Stereo in the file: placing it in space needs it mixed to mono.
    const Handle sample = Load(audio_test::SineOgg(500, 2.0f, 2), BASS_SAMPLE_3D | BASS_SAMPLE_LOOP);
    ASSERT_NE(sample, 0u);
    const Handle channel = Play(sample);
    const Vector3 right{5, 0, 0};
    ASSERT_TRUE(library.ChannelSet3DPosition(channel, &right, nullptr, nullptr));

    // Left-handed: looking along +z with y up, +x is on the right.
    Listen({0, 0, 0}, {0, 0, 1});
    std::vector<int16_t> pcm = Render(0.5);
    EXPECT_GT(Rms(pcm, 1, 2000, 22050), 2 * Rms(pcm, 0, 2000, 22050));
    // Turned round, the same source is on the left.
    Listen({0, 0, 0}, {0, 0, -1});
    pcm = Render(0.5);
    EXPECT_GT(Rms(pcm, 0, 2000, 22050), 2 * Rms(pcm, 1, 2000, 22050));
    // Looking along +x with the source ahead at +z... to the left of it.
    const Vector3 ahead{0, 0, 5};
    ASSERT_TRUE(library.ChannelSet3DPosition(channel, &ahead, nullptr, nullptr));
    Listen({0, 0, 0}, {1, 0, 0});
    pcm = Render(0.5);
    EXPECT_GT(Rms(pcm, 0, 2000, 22050), 2 * Rms(pcm, 1, 2000, 22050));
}

TEST_F(Loopback, DistanceFadesWithTheRollOffFromTheMinimumDistance) {
    ASSERT_TRUE(library.Set3DFactors(-1.0f, 0.1f, -1.0f));
    const Handle channel = Play(Load(audio_test::SineOgg(500, 2.0f, 1), BASS_SAMPLE_3D | BASS_SAMPLE_LOOP));
    // Minimum 0 leaves the default of 1; beyond the maximum nothing fades further.
    ASSERT_TRUE(library.ChannelSet3DAttributes(channel, BASS_3DMODE_NORMAL, 0.0f, 400.0f, 360, 360, 100));
    Listen({0, 0, 0}, {0, 0, 1});
    auto levelAt = [&](float distance) {
        const Vector3 where{0, 0, distance};
        library.ChannelSet3DPosition(channel, &where, nullptr, nullptr);
        const std::vector<int16_t> pcm = Render(0.3);
        return Rms(pcm, 0, 4000, 13230) + Rms(pcm, 1, 4000, 13230);
    };
    const double near = levelAt(10), far = levelAt(100), beyond = levelAt(400), farther = levelAt(800);
    // gain = 1 / (1 + 0.1 (d - 1))
    EXPECT_NEAR(near / far, (1 + 0.1 * 99) / (1 + 0.1 * 9), 0.3);
    EXPECT_NEAR(beyond / farther, 1.0, 0.02);
}

TEST_F(Loopback, GlobalSampleVolumeAndChannelVolumeScaleLinearly) {
    const Handle channel = Play(Load(audio_test::SineOgg(300, 2.0f, 2), BASS_SAMPLE_LOOP));
    auto level = [&] {
        const std::vector<int16_t> pcm = Render(0.25);
        return Rms(pcm, 0, 2000, 11025);
    };
    level();
    const double full = level();
    ASSERT_GT(full, 0.2);
    library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 50);
    level();  // the mixer ramps gain changes over a few milliseconds
    EXPECT_NEAR(level() / full, 0.5, 0.02);
    library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 100);
    library.ChannelSetAttributes(channel, kFrequencyUnchanged, 25, kPanUnchanged);
    level();
    EXPECT_NEAR(level() / full, 0.25, 0.02);
    library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 0);
    level();
    EXPECT_EQ(level(), 0.0);
    EXPECT_FALSE(library.SetConfig(99, 1));
}

TEST_F(Loopback, PanMovesAPlainMonoChannel) {
    const Handle channel = Play(Load(audio_test::SineOgg(400, 2.0f, 1), BASS_SAMPLE_LOOP));
    ASSERT_TRUE(library.ChannelSetAttributes(channel, kFrequencyUnchanged, kVolumeUnchanged, 100));
    Render(0.1);
    const std::vector<int16_t> pcm = Render(0.3);
    EXPECT_GT(Rms(pcm, 1, 0, 13000), 4 * Rms(pcm, 0, 0, 13000));
}

TEST_F(Loopback, LongSamplesLoopSeamlesslyOverThePiecesDecodedLater) {
    // 6.5 s: a first piece decoded at once, the rest on the worker, joined before each mix.
    const size_t frames = 6 * 44100 + 22050;
    std::vector<float> signal(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / 44100;
        signal[i] = 0.4f * std::sin(2 * 3.14159265f * (200 + 60 * static_cast<int>(t)) * t);
    }
    const std::array<std::span<const float>, 1> mono{signal};
    const std::vector<uint8_t> file = mediagen::EncodeOggVorbis(mono, 44100, 0.5f);
    Play(Load(file, BASS_SAMPLE_LOOP));
    const std::vector<int16_t> pcm = Render(15.0);
    // Every second of the second time round equals the first.
    int worst = 0;
    for (size_t i = 0; i < frames * 2; ++i) worst = std::max(worst, std::abs(pcm[i] - pcm[i + frames * 2]));
    EXPECT_LE(worst, 1);
    EXPECT_GT(Rms(pcm, 0, frames - 44100, frames), 0.1);  // the end was there before the loop
}

TEST_F(Loopback, ChannelsAreLimitedPerSampleAndFreedWhenTheyEnd) {
    const Handle sample = Load(audio_test::SineOgg(600, 0.2f, 1), 0, 2);
    const Handle first = Play(sample);
    const Handle second = Play(sample);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(library.SampleGetChannel(sample, true), 0u);
    // Without only-new, the longest playing channel is taken over; its old handle is dead.
    const Handle third = library.SampleGetChannel(sample, false);
    ASSERT_NE(third, 0u);
    EXPECT_EQ(library.ChannelPlay(first, true) + library.ChannelPlay(second, true), 1);
    EXPECT_TRUE(library.ChannelPlay(third, true));
    Render(0.5);
    EXPECT_NE(library.SampleGetChannel(sample, true), 0u);
    EXPECT_EQ(library.SampleGetChannel(0, true), 0u);
    EXPECT_FALSE(library.ChannelPlay(0, true));
    EXPECT_FALSE(library.ChannelSetAttributes(sample, -1, 50, -101));  // a sample is not a channel
}

TEST_F(Loopback, BadFilesGiveNoSample) {
    const std::vector<uint8_t> good = audio_test::SineOgg(440, 1.0f, 1);
    const std::vector<uint8_t> garbage(5000, 0x4F);
    EXPECT_EQ(Load(garbage, 0), 0u);
    EXPECT_EQ(library.SampleLoad(true, good.data(), 0, 0, 20, 0), 0u);
    EXPECT_EQ(library.SampleLoad(true, nullptr, 0, 100, 20, 0), 0u);
    EXPECT_EQ(library.SampleLoad(true, good.data(), good.size(), static_cast<uint32_t>(good.size()), 20, 0), 0u);
    EXPECT_EQ(library.SampleLoad(false, "/no/such/file.ogg", 0, 0, 20, 0), 0u);
    EXPECT_EQ(library.SampleLoad(true, good.data(), 0, 150, 20, 0), 0u);  // headers cut
    EXPECT_EQ(library.SampleLoad(true, good.data(), 0, static_cast<uint32_t>(good.size() - 1), 20, 0), 0u);
    EXPECT_NE(Load(good, 0), 0u);
}

TEST_F(Loopback, ADeviceThatGoesAwayIsLetGoAndTheLibraryGoesOnAsTheNoSoundDevice) {
    // A long sound still decoding behind, as the music is for minutes after the start.
    const Handle sample = Load(audio_test::SineOgg(440, 12.0f, 2), BASS_SAMPLE_LOOP);
    const Handle channel = Play(sample);
    EXPECT_FALSE(library.DeviceLost());  // asks the device itself
    ASSERT_GT(Rms(Render(0.2), 0, 0, 8820), 0.1);

    library.SimulateDisconnect();
    EXPECT_TRUE(library.DeviceLost());
    EXPECT_TRUE(library.DeviceLost());
    EXPECT_EQ(Render(0.2), std::vector<int16_t>(8820 * 2, 0));
    // Old handles are dead, new loads give nothing, the frame's calls still succeed.
    EXPECT_FALSE(library.ChannelPlay(channel, true));
    EXPECT_EQ(library.SampleGetChannel(sample, true), 0u);
    EXPECT_EQ(Load(audio_test::SineOgg(440, 0.5f, 1), 0), 0u);
    EXPECT_TRUE(library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 50));
    Listen({1, 2, 3}, {0, 0, 1});
    EXPECT_TRUE(library.Free());
    // A new start opens a device again.
    ASSERT_TRUE(library.Init(kDefaultDevice, 44100, BASS_DEVICE_3D, 0, nullptr));
    EXPECT_FALSE(library.DeviceLost());
    Play(Load(audio_test::SineOgg(440, 1.0f, 1), BASS_SAMPLE_LOOP));
    EXPECT_GT(Rms(Render(0.2), 0, 0, 8820), 0.1);
}

TEST(SoundLibrary, TheSameCallsGiveTheSameSound) {
    auto record = [] {
        OpenAlSoundLibrary library(OpenAlSoundLibrary::Output::Loopback);
        library.Init(kDefaultDevice, 44100, BASS_DEVICE_3D, 0, nullptr);
        const std::vector<uint8_t> file = audio_test::SineOgg(523, 3.0f, 1);
        const Handle channel =
            library.SampleGetChannel(library.SampleLoad(true, file.data(), 0, static_cast<uint32_t>(file.size()), 20,
                                                        BASS_SAMPLE_3D | BASS_SAMPLE_LOOP),
                                     true);
        library.ChannelPlay(channel, true);
        const Vector3 where{3, 1, 2};
        library.ChannelSet3DPosition(channel, &where, nullptr, nullptr);
        std::vector<int16_t> pcm(4 * 44100 * 2);
        library.Render(pcm.data(), 4 * 44100);
        return pcm;
    };
    EXPECT_EQ(record(), record());
}

TEST(SoundLibrary, TheNoSoundDeviceAcceptsCallsAndPlaysNothing) {
    OpenAlSoundLibrary library(OpenAlSoundLibrary::Output::Loopback);
    EXPECT_FALSE(library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 10));  // not initialised
    EXPECT_FALSE(library.Init(7, 44100, 0, 0, nullptr));
    ASSERT_TRUE(library.Init(kNoSoundDevice, 44100, 0, 0, nullptr));
    EXPECT_FALSE(library.Init(kDefaultDevice, 44100, 0, 0, nullptr));  // already
    const std::vector<uint8_t> file = audio_test::SineOgg(440, 0.5f, 1);
    EXPECT_EQ(library.SampleLoad(true, file.data(), 0, static_cast<uint32_t>(file.size()), 20, 0), 0u);
    EXPECT_TRUE(library.SetConfig(BASS_CONFIG_GVOL_SAMPLE, 10));
    EXPECT_TRUE(library.Set3DFactors(-1, 0.1f, -1));
    const Vector3 zero{};
    EXPECT_TRUE(library.Set3DPosition(&zero, nullptr, &zero, &zero));
    EXPECT_EQ(library.SampleGetChannel(1, true), 0u);
    std::vector<int16_t> pcm(1000, 7);
    library.Render(pcm.data(), 500);
    EXPECT_EQ(pcm, std::vector<int16_t>(1000, 0));
    EXPECT_TRUE(library.Free());
    EXPECT_FALSE(library.Free());
    EXPECT_TRUE(library.Init(kDefaultDevice, 44100, 0, 0, nullptr));
}

TEST(SoundLibrary, TheDefaultDevicePlaysOnTheNullBackend) {
    ASSERT_TRUE(nullDriver);
    OpenAlSoundLibrary library;
    ASSERT_TRUE(library.Init(kDefaultDevice, 44100, BASS_DEVICE_3D, 0, nullptr));
    const std::vector<uint8_t> file = audio_test::SineOgg(440, 3.0f, 2);
    const Handle sample = library.SampleLoad(true, file.data(), 0, static_cast<uint32_t>(file.size()), 20, BASS_SAMPLE_LOOP);
    ASSERT_NE(sample, 0u);
    EXPECT_TRUE(library.ChannelPlay(library.SampleGetChannel(sample, true), true));
    EXPECT_TRUE(library.Free());
}

}  // namespace
