// Real playback, run by null_sink.sh while it records a PulseAudio null sink (skipped
// otherwise): the clock's ticks alone, at QUELMONT_TICK_X to the listener's side, for
// QUELMONT_PLAY_MS of frames in real time. The script judges what was recorded.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "clock/ClockSound.h"
#include "common/Log.h"
#include "common/Timing.h"
#include "platform/audio/win32/DirectSoundLibrary.h"
#include "support/TempDir.h"

namespace {

TEST(NullSink, TheTicksPlayAtTheHourHand) {
    const char* media = std::getenv("QUELMONT_NULL_SINK");
    if (!media) GTEST_SKIP() << "run by null_sink.sh";
    const float x = std::strtof(std::getenv("QUELMONT_TICK_X"), nullptr);
    const int64_t playMs = std::atoll(std::getenv("QUELMONT_PLAY_MS"));
    TempDir dir;
    std::filesystem::copy_file(std::string(media) + "/ClockTicks.ogg", dir.path() + "/ClockTicks.ogg");
    const std::string trace = dir.path() + "/trace.log";
    SetTracePath(trace.c_str());
    SettingsRecord settings;
    settings.Music = false;
    settings.Sound = true;
    settings.Volume = 100;

    ClockSound sound;
    sound.Start(settings, 0);
    const EngineString folder(dir.path().c_str());
    // Facing +z with y up: +x is on the listener's right.
    sound.Load(settings, FileSource(folder), folder, {x, 0.0f, 0.0f});
    EXPECT_NE(sound.tickSample, 0u);
    Stopwatch playing;
    while (playing.Elapsed() < playMs) {
        sound.Update(settings, RunMode::Saver, CameraPose{});
        Sleep(20);
    }
    sound.Shutdown(RunMode::Saver);
    SetTracePath(nullptr);
    std::ifstream in(trace);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "BASS inited");
    EXPECT_TRUE(settings.Sound);
}

}  // namespace
