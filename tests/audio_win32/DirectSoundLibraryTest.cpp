// The Windows sound library where the test run leaves it: no sound device. The saver then goes
// on silently, as on Linux; and the volume and pan conversions DirectSound needs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "clock/ClockSound.h"
#include "common/Log.h"
#include "platform/audio/win32/DirectSoundLibrary.h"
#include "support/TempDir.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DirectSoundNoDevice, TheSaverFallsBackToSilenceAndGoesOn) {
    if (std::getenv("QUELMONT_NULL_SINK")) GTEST_SKIP() << "a sound device is there";
    TempDir dir;
    const std::string trace = dir.path() + "/trace.log";
    SetTracePath(trace.c_str());
    audio::DirectSoundLibrary library;
    audio::SetSoundLibrary(&library);
    SettingsRecord settings;
    settings.Music = settings.Sound = true;
    settings.Volume = 100;

    ClockSound sound;
    sound.Start(settings, 0);
    const EngineString media(QUELMONT_BINARY_DIR "/media/tree/Media");
    sound.Load(settings, FileSource(media), media, {});
    sound.Update(settings, RunMode::Saver, CameraPose{});
    sound.PlayThunder(0, 100);
    sound.Shutdown(RunMode::Saver);
    audio::SetSoundLibrary(nullptr);
    SetTracePath(nullptr);

    EXPECT_FALSE(settings.Music);
    EXPECT_FALSE(settings.Sound);
    EXPECT_EQ(sound.musicSample, 0u);
    EXPECT_EQ(sound.tickSample, 0u);
    EXPECT_FALSE(sound.ThunderLoaded());
    EXPECT_EQ(ReadText(trace), "BASS not inited\nBASS stuff ok\n");
}

TEST(DirectSoundNoDevice, TheNoSoundDeviceTakesEveryCallAndLoadsNothing) {
    audio::DirectSoundLibrary library;
    EXPECT_FALSE(library.SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, 50)) << "before Init";
    ASSERT_TRUE(library.Init(audio::kNoSoundDevice, 44100, 0, 0, nullptr));
    EXPECT_FALSE(library.Init(audio::kNoSoundDevice, 44100, 0, 0, nullptr)) << "twice";
    std::ifstream in(QUELMONT_SOURCE_DIR "/fuzz/audio/corpus/vorbis/mono-22k.ogg", std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(library.SampleLoad(true, file.data(), 0, static_cast<uint32_t>(file.size()), 20, 0), 0u);
    EXPECT_TRUE(library.Set3DFactors(-1.0f, 0.1f, -1.0f));
    library.Apply3D();
    EXPECT_TRUE(library.SetConfig(audio::BASS_CONFIG_GVOL_SAMPLE, 50));
    const audio::Vector3 at{1, 2, 3};
    EXPECT_TRUE(library.Set3DPosition(&at, nullptr, nullptr, nullptr));
    EXPECT_EQ(library.SampleGetChannel(1, true), 0u);
    EXPECT_FALSE(library.ChannelPlay(0x80000000u, true));
    EXPECT_TRUE(library.Free());
    EXPECT_FALSE(library.Free());
}

TEST(DirectSoundVolumes, LinearGainAndPanBecomeHundredthsOfADecibel) {
    EXPECT_EQ(audio::GainToHundredthsDb(1.0f), 0);
    EXPECT_EQ(audio::GainToHundredthsDb(2.0f), 0);
    EXPECT_EQ(audio::GainToHundredthsDb(0.5f), -602);
    EXPECT_EQ(audio::GainToHundredthsDb(0.1f), -2000);
    EXPECT_EQ(audio::GainToHundredthsDb(0.0f), -10000);
    EXPECT_EQ(audio::GainToHundredthsDb(-1.0f), -10000);
    EXPECT_EQ(audio::GainToHundredthsDb(1e-9f), -10000);
    EXPECT_EQ(audio::PanToDirectSound(0), 0);
    EXPECT_EQ(audio::PanToDirectSound(100), 10000);
    EXPECT_EQ(audio::PanToDirectSound(-100), -10000);
    EXPECT_EQ(audio::PanToDirectSound(50), 602);
    EXPECT_EQ(audio::PanToDirectSound(-50), -602);
}

}  // namespace
