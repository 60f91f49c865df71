// The saver on a machine whose sound does not work: ALSA is the only driver and cannot read its
// configuration, whatever hardware the machine has.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "clock/ClockSound.h"
#include "common/Log.h"
#include "platform/audio/OpenAlSoundLibrary.h"
#include "support/TempDir.h"

namespace {

const bool brokenSound = setenv("ALSOFT_DRIVERS", "alsa", 1) == 0 &&
                         setenv("ALSA_CONFIG_PATH", "/nonexistent/alsa.conf", 1) == 0 &&
                         unsetenv("ALSOFT_LOGLEVEL") == 0;

TEST(NoSoundDevice, TheSaverFallsBackToSilenceQuietlyAndGoesOn) {
    ASSERT_TRUE(brokenSound);
    TempDir dir;
    const std::string trace = dir.path() + "/trace.log";
    SetTracePath(trace.c_str());
    audio::OpenAlSoundLibrary library;
    audio::SetSoundLibrary(&library);
    SettingsRecord settings;
    settings.Music = settings.Sound = true;
    settings.Volume = 100;

    testing::internal::CaptureStderr();
    ClockSound sound;
    sound.Start(settings, 0);
    const EngineString media(QUELMONT_SOURCE_DIR);
    sound.Load(settings, FileSource(media), media, {});
    sound.Update(settings, RunMode::Saver, CameraPose{});
    sound.PlayThunder(0, 100);
    sound.Shutdown(RunMode::Saver);
    const std::string printed = testing::internal::GetCapturedStderr();
    audio::SetSoundLibrary(nullptr);
    SetTracePath(nullptr);

    EXPECT_EQ(printed, "");
    EXPECT_FALSE(settings.Music);
    EXPECT_FALSE(settings.Sound);
    EXPECT_EQ(sound.musicSample, 0u);
    EXPECT_FALSE(sound.ThunderLoaded());
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "BASS not inited\nBASS stuff ok\n");
}

}  // namespace
