#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "clock/ClockSound.h"
#include "common/Log.h"
#include "platform/sys/Clock.h"
#include "support/TempDir.h"

namespace {

using namespace audio;

// Writes down every call; samples load when the file starts with "OggS".
class CallLog final : public SoundLibrary {
public:
    bool failDefaultDevice = false;
    bool deviceLost = false;
    std::vector<std::string> calls;
    std::vector<uint32_t> volumes;  // every global sample volume set
    Handle nextHandle = 100;

    bool Init(int device, uint32_t frequency, uint32_t flags, uintptr_t, const void*) override {
        Note("Init %d %u %u", device, frequency, flags);
        return !(device == kDefaultDevice && failDefaultDevice);
    }
    bool Free() override { return Note("Free"), true; }
    bool Set3DFactors(float d, float r, float p) override { return Note("Set3DFactors %g %g %g", d, r, p), true; }
    void Apply3D() override { Note("Apply3D"); }
    bool SetConfig(uint32_t option, uint32_t value) override {
        volumes.push_back(value);
        return Note("SetConfig %u %u", option, value), true;
    }
    Handle SampleLoad(bool memory, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                      uint32_t flags) override {
        const std::string text(static_cast<const char*>(file), length);
        Note("SampleLoad %d %s %llu %u %u", memory, text.c_str(), static_cast<unsigned long long>(offset), max, flags);
        return text.rfind("OggS", 0) == 0 ? ++nextHandle : 0;
    }
    Handle SampleGetChannel(Handle sample, bool onlyNew) override {
        Note("SampleGetChannel %u %d", sample, onlyNew);
        return sample ? sample + 1000 : 0;
    }
    bool ChannelPlay(Handle channel, bool restart) override { return Note("ChannelPlay %u %d", channel, restart), true; }
    bool ChannelSetAttributes(Handle channel, int frequency, int volume, int pan) override {
        return Note("ChannelSetAttributes %u %d %d %d", channel, frequency, volume, pan), true;
    }
    bool ChannelSet3DAttributes(Handle channel, int mode, float minimum, float maximum, int inside, int outside,
                                int volume) override {
        return Note("ChannelSet3DAttributes %u %d %g %g %d %d %d", channel, mode, minimum, maximum, inside, outside,
                    volume),
               true;
    }
    bool ChannelSet3DPosition(Handle channel, const Vector3* p, const Vector3* o, const Vector3* v) override {
        return Note("ChannelSet3DPosition %u (%g %g %g) (%g %g %g) %s", channel, p->x, p->y, p->z, o->x, o->y, o->z,
                    v ? "v" : "null"),
               true;
    }
    bool Set3DPosition(const Vector3* p, const Vector3* v, const Vector3* f, const Vector3* t) override {
        return Note("Set3DPosition (%g %g %g) %s (%g %g %g) (%g %g %g)", p->x, p->y, p->z, v ? "v" : "null", f->x,
                    f->y, f->z, t->x, t->y, t->z),
               true;
    }

    bool DeviceLost() override { return deviceLost; }

    bool Has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

private:
    template <typename... Args>
    void Note(const char* format, Args... args) {
        char text[256];
        std::snprintf(text, sizeof text, format, args...);
        calls.emplace_back(text);
    }
};

class ClockSoundTest : public testing::Test {
protected:
    void SetUp() override {
        SetSoundLibrary(&library);
        SetTracePath(trace.c_str());
        settings.Music = true;
        settings.Sound = true;
        settings.Volume = 80;
        for (const char* name : {"ClockMusic", "ClockRain", "ClockGrom1", "ClockGrom2", "ClockGrom3", "ClockTicks"}) {
            WriteMedia(std::string(name) + ".ogg", std::string("OggS-") + name);
        }
    }
    void TearDown() override {
        SetTracePath(nullptr);
        SetSoundLibrary(nullptr);
    }
    void WriteMedia(const std::string& name, const std::string& content) {
        std::ofstream(dir.path() + "/" + name, std::ios::binary) << content;
    }
    void StartAndLoad() {
        sound.Start(settings, 0);
        sound.Load(settings, FileSource(EngineString(dir.path().c_str())), EngineString(dir.path().c_str()),
                   math::Vec3{10, 165, -3});
    }
    std::string Trace() const {
        std::ifstream in(trace);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    size_t Count(const std::string& prefix) const {
        return static_cast<size_t>(std::count_if(library.calls.begin(), library.calls.end(),
                                                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
    }

    TempDir dir;
    std::string trace = dir.path() + "/trace.log";
    sys::TestClock clock{5000};
    sys::ScopedClock useClock{clock};
    CallLog library;
    SettingsRecord settings;
    ClockSound sound;
    CameraPose camera{{-200, 100, 0}, {1, 0, 0}, {0, 1, 0}};
};

TEST_F(ClockSoundTest, StartsOnTheDefaultDeviceWith3DAndASilentGlobalVolume) {
    sound.Start(settings, 0);
    const std::vector<std::string> expected{"Init 1 44100 4", "Set3DFactors -1 0.1 -1", "Apply3D", "SetConfig 4 0"};
    EXPECT_EQ(library.calls, expected);
    EXPECT_EQ(Trace(), "BASS inited\n");
    EXPECT_TRUE(settings.Music && settings.Sound);
}

TEST_F(ClockSoundTest, WithoutADeviceFallsBackToSilenceAndLoadsNothing) {
    library.failDefaultDevice = true;
    StartAndLoad();
    EXPECT_EQ(library.calls[0], "Init 1 44100 4");
    EXPECT_EQ(library.calls[1], "Init 0 44100 0");
    EXPECT_FALSE(settings.Music);
    EXPECT_FALSE(settings.Sound);
    EXPECT_EQ(Count("SampleLoad"), 0u);
    EXPECT_FALSE(sound.ThunderLoaded());
    EXPECT_EQ(Trace(), "BASS not inited\n");
}

TEST_F(ClockSoundTest, LoadsEverySoundWithItsFlagsAndPlacesTheTicksAtTheHourHand) {
    StartAndLoad();
    const std::string media = dir.path();
    EXPECT_TRUE(library.Has("SampleLoad 1 OggS-ClockMusic 0 20 4"));
    EXPECT_TRUE(library.Has("SampleLoad 1 OggS-ClockRain 0 20 4"));
    EXPECT_TRUE(library.Has("SampleLoad 1 OggS-ClockGrom3 0 20 0"));
    EXPECT_TRUE(library.Has("SampleLoad 1 OggS-ClockTicks 0 20 30"));
    EXPECT_NE(sound.musicSample, 0u);
    EXPECT_NE(sound.rainSample, 0u);
    EXPECT_NE(sound.tickSample, 0u);
    EXPECT_TRUE(sound.ThunderLoaded());
    EXPECT_EQ(Count("ChannelPlay"), 3u);  // music, rain, ticks; thunder waits for the storm
    const std::string tick = std::to_string(sound.tickSample + 1000);
    const std::vector<std::string> tail{
        "SampleGetChannel " + std::to_string(sound.tickSample) + " 1",
        "ChannelPlay " + tick + " 1",
        "ChannelSet3DAttributes " + tick + " 0 0 400 360 360 100",
        "ChannelSet3DPosition " + tick + " (10 165 -3) (0 0 1) null",
        "ChannelSetAttributes " + tick + " -1 100 -1",
        "Apply3D",
    };
    EXPECT_EQ(std::vector<std::string>(library.calls.end() - 6, library.calls.end()), tail);
    // The ticks are not traced.
    EXPECT_EQ(Trace(), "BASS inited\n" + media + "/ClockMusic.ogg sample loaded\n" + media +
                           "/ClockRain.ogg sample loaded\n" + media + "/ClockGrom1.ogg sample loaded\n" + media +
                           "/ClockGrom2.ogg sample loaded\n" + media + "/ClockGrom3.ogg sample loaded\n");
}

TEST_F(ClockSoundTest, SettingsChooseWhatIsLoaded) {
    settings.Music = false;
    StartAndLoad();
    EXPECT_EQ(Count("SampleLoad 1 OggS-ClockMusic"), 0u);
    EXPECT_EQ(sound.musicSample, 0u);
    EXPECT_EQ(Count("SampleLoad"), 5u);

    ClockSound quiet;
    library.calls.clear();
    settings.Music = true;
    settings.Sound = false;
    quiet.Start(settings, 0);
    quiet.Load(settings, FileSource(EngineString(dir.path().c_str())), EngineString(dir.path().c_str()), {});
    EXPECT_EQ(Count("SampleLoad"), 1u);
    EXPECT_FALSE(quiet.ThunderLoaded());
    EXPECT_EQ(quiet.tickSample, 0u);
}

TEST_F(ClockSoundTest, MissingAndDamagedFilesGiveNoHandleAndTheRestGoesOn) {
    std::remove((dir.path() + "/ClockMusic.ogg").c_str());
    WriteMedia("ClockRain.ogg", "not a sound");
    StartAndLoad();
    EXPECT_EQ(sound.musicSample, 0u);
    EXPECT_EQ(sound.rainSample, 0u);
    EXPECT_EQ(Count("SampleLoad 1 OggS-ClockMusic"), 0u);
    // The rain is still asked to play; the calls fail harmlessly inside the library.
    EXPECT_TRUE(library.Has("SampleGetChannel 0 1"));
    EXPECT_NE(sound.tickSample, 0u);
    EXPECT_TRUE(sound.ThunderLoaded());
    EXPECT_EQ(Trace().find("ClockRain.ogg sample loaded"), std::string::npos);
}

TEST_F(ClockSoundTest, VolumeRisesLinearlyOverFourSecondsAndTheListenerFollowsTheCamera) {
    StartAndLoad();
    library.calls.clear();
    library.volumes.clear();
    for (int ms : {0, 1000, 2000, 3999, 4000, 9000}) {
        clock.SetMs(5000 + ms);
        sound.Update(settings, RunMode::Saver, camera);
    }
    EXPECT_EQ(library.volumes, (std::vector<uint32_t>{0, 20, 40, 79, 80, 80}));
    const std::vector<std::string> frame{"SetConfig 4 80", "Set3DPosition (-200 100 0) null (1 0 0) (0 1 0)",
                                         "Apply3D"};
    EXPECT_EQ(std::vector<std::string>(library.calls.end() - 3, library.calls.end()), frame);
    // One trace line a frame.
    const std::string trace = Trace();
    size_t lines = 0;
    for (size_t at = trace.find("BASS stuff ok\n"); at != std::string::npos; at = trace.find("BASS stuff ok\n", at + 1)) ++lines;
    EXPECT_EQ(lines, 6u);
}

TEST_F(ClockSoundTest, NoFadeInPreviewNorWhenNothingIsWanted) {
    StartAndLoad();
    library.volumes.clear();
    clock.SetMs(8000);
    sound.Update(settings, RunMode::Preview, camera);
    settings.Volume = 0;
    sound.Update(settings, RunMode::Saver, camera);
    settings.Volume = 50;
    settings.Music = settings.Sound = false;
    sound.Update(settings, RunMode::Saver, camera);
    EXPECT_TRUE(library.volumes.empty());
    EXPECT_EQ(Count("Set3DPosition"), 3u);  // the listener moves all the same
    // A clock that steps back never gives a negative level.
    settings.Sound = true;
    clock.SetMs(1000);
    sound.Update(settings, RunMode::Saver, camera);
    EXPECT_EQ(library.volumes, std::vector<uint32_t>{0});
}

TEST_F(ClockSoundTest, ThunderPlaysOnANewChannelAtItsVolume) {
    StartAndLoad();
    library.calls.clear();
    sound.PlayThunder(2, 35);
    const std::string channel = std::to_string(sound.thunderSamples[2] + 1000);
    const std::vector<std::string> expected{"SampleGetChannel " + std::to_string(sound.thunderSamples[2]) + " 1",
                                            "ChannelSetAttributes " + channel + " -1 35 -101",
                                            "ChannelPlay " + channel + " 1"};
    EXPECT_EQ(library.calls, expected);
    sound.PlayThunder(3, 100);
    sound.PlayThunder(-1, 100);
    EXPECT_EQ(library.calls.size(), 3u);
    // The storm asks through its own interface, about the settings of this run.
    const ThunderSound& storm = sound;
    EXPECT_TRUE(storm.EffectsAudible());
    settings.Volume = 0;
    EXPECT_FALSE(storm.EffectsAudible());
    settings.Volume = 10;
    settings.Sound = false;
    EXPECT_FALSE(storm.EffectsAudible());
    EXPECT_FALSE(ClockSound().EffectsAudible());  // not started
}

TEST_F(ClockSoundTest, TheStormsThunderPlaysHalfASecondAfterItsFlash) {
    StartAndLoad();
    Thunderstorm storm;
    storm.Start();
    library.calls.clear();
    clock.AdvanceMs(1000);
    storm.StartFlashAndThunder(sound);
    ASSERT_TRUE(storm.flashActive());
    EXPECT_EQ(storm.PendingThunder(), 1u);
    clock.AdvanceMs(499);
    storm.StartFlashAndThunder(sound);
    EXPECT_EQ(Count("ChannelPlay"), 0u);
    clock.AdvanceMs(1);
    storm.StartFlashAndThunder(sound);
    EXPECT_EQ(Count("ChannelPlay"), 1u);
    EXPECT_EQ(storm.PendingThunder(), 0u);

    // With Sound off nothing is loaded, so the storm queues no thunder.
    ClockSound silent;
    settings.Sound = false;
    silent.Start(settings, 0);
    silent.Load(settings, FileSource(EngineString(dir.path().c_str())), EngineString(dir.path().c_str()), {});
    Thunderstorm quiet;
    quiet.Start();
    clock.AdvanceMs(1000);
    quiet.StartFlashAndThunder(silent);
    EXPECT_TRUE(quiet.flashActive());
    EXPECT_EQ(quiet.PendingThunder(), 0u);
}

TEST_F(ClockSoundTest, AnOutputDeviceLostMidRunLeavesTheRunSilentAsWithoutADevice) {
    StartAndLoad();
    Thunderstorm storm;
    storm.Start();
    clock.AdvanceMs(1000);
    sound.Update(settings, RunMode::Saver, camera);
    storm.StartFlashAndThunder(sound);
    ASSERT_EQ(storm.PendingThunder(), 1u);

    library.deviceLost = true;
    library.calls.clear();
    for (int frame = 0; frame < 150; ++frame) {  // past the age at which queued thunder is dropped
        clock.AdvanceMs(40);
        sound.Update(settings, RunMode::Saver, camera);
        storm.StartFlashAndThunder(sound);
    }
    // Music and Sound are off for the run: no fade, no thunder, queued or new.
    EXPECT_FALSE(settings.Music || settings.Sound);
    EXPECT_FALSE(sound.ThunderLoaded());
    EXPECT_EQ(storm.PendingThunder(), 0u);
    EXPECT_EQ(Count("SetConfig") + Count("SampleGetChannel") + Count("ChannelPlay"), 0u);
    EXPECT_EQ(Count("Set3DPosition"), 150u);  // the library answers as the no-sound device
    sound.Shutdown(RunMode::Saver);
    EXPECT_TRUE(library.Has("Free"));
}

TEST_F(ClockSoundTest, ShutdownReleasesTheLibraryOnlyInSaverAndTestModes) {
    StartAndLoad();
    for (RunMode mode : {RunMode::Preview, RunMode::Configure}) {
        library.calls.clear();
        sound.Shutdown(mode);
        EXPECT_TRUE(library.calls.empty());
    }
    sound.Shutdown(RunMode::Test);
    EXPECT_EQ(library.calls, (std::vector<std::string>{"SetConfig 4 0", "Free"}));
    sound.Shutdown(RunMode::Saver);  // once is enough
    sound.Update(settings, RunMode::Saver, camera);
    EXPECT_EQ(library.calls.size(), 2u);
}

}  // namespace
