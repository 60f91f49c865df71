// A few simulated minutes of the long run: the device lost each minute and the window resized
// after a minute and a half come back through the device's reset with every texture and buffer
// made again, the run reports its camera paths and storm, and nothing but the trace is written;
// a minute's heap, which the long run judges, depends neither on the machine's processors nor on
// how long the sounds take to decode.

#include <gtest/gtest.h>
#include <sched.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

#include "ogg/OggVorbisWriter.h"
#include "reliability/ProgramChecks.h"

namespace {

// A simulated minute and ten seconds of the long run in `dir` (one minute line), on the first
// processor the test may use when `oneProcessor` (the program inherits the affinity of the
// thread that starts it).
pid_t StartSoak(const TempDir& dir, bool oneProcessor) {
    cpu_set_t all;
    CPU_ZERO(&all);
    EXPECT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    if (oneProcessor) {
        cpu_set_t one;
        CPU_ZERO(&one);
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (!CPU_ISSET(cpu, &all)) continue;
            CPU_SET(cpu, &one);
            break;
        }
        EXPECT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    }
    const pid_t pid = StartProgram(
        dir, {"--record", dir.path() + "/out", "--soak", "--seconds", "70", "--size", "64x48", "--fps", "2"},
        SanitizerEnvironment());
    if (oneProcessor) {
        EXPECT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    }
    return pid;
}

// The heap in use of each "soak: minute" line, in kB.
std::vector<long> MinuteHeaps(const std::string& output) {
    std::vector<long> heaps;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find(" heap ");
        if (line.starts_with("soak: minute ") && at != std::string::npos) heaps.push_back(std::atol(line.c_str() + at + 6));
    }
    return heaps;
}

}  // namespace

TEST(Soak, EveryDeviceLossAndResizeIsRecoveredAndNoFramesAreKept) {
    TempDir dir;
    const std::string out = dir.path() + "/out";
    const ProgramRun run = RunProgram(dir, {"--record", out, "--soak", "--seconds", "200", "--size", "64x48", "--fps", "2"},
                                      SanitizerEnvironment());
    ASSERT_TRUE(EndedCleanly(run, {0}));
    std::istringstream lines(run.output);
    int minutes = 0, lastLosses = -1, lastRecovered = -1, lastResizes = -1, paths = 0, flashes = -1;
    for (std::string line; std::getline(lines, line);) {
        long long minute = 0;
        long rss = 0, heap = 0;
        int losses = 0, recovered = 0, resizes = 0, followed = 0, remade = 0, doubles = 0, due = 0, winks = 0;
        paths += line.starts_with("soak: path c");
        if (std::sscanf(line.c_str(), "soak: storm flashes %d double %d due %d winks %d", &flashes, &doubles, &due,
                        &winks) == 4) {
            EXPECT_LE(winks, due);
            EXPECT_LE(due, doubles);
        }
        if (std::sscanf(line.c_str(),
                        "soak: minute %lld rss %ld kB losses %d recovered %d resizes %d followed %d remade %d heap %ld kB",
                        &minute, &rss, &losses, &recovered, &resizes, &followed, &remade, &heap) != 8)
            continue;
        ++minutes;
        EXPECT_EQ(minute, minutes);
        EXPECT_GT(rss, 0);
        EXPECT_GT(heap, 0);
        EXPECT_LT(heap, rss);
        // The loss of the minute before has been recovered by now; the resize came at 1:30.
        EXPECT_EQ(losses, minutes - 1);
        EXPECT_EQ(recovered, losses) << line;
        EXPECT_EQ(resizes, minutes >= 2 ? 1 : 0) << line;
        EXPECT_EQ(followed, resizes) << line;
        EXPECT_EQ(remade, recovered + resizes) << run.output;
        lastLosses = losses;
        lastRecovered = recovered;
        lastResizes = resizes;
    }
    EXPECT_EQ(minutes, 3) << run.output;
    EXPECT_EQ(lastRecovered, lastLosses);
    EXPECT_EQ(lastResizes, 1);
    EXPECT_GE(paths, 1);
    // A flash comes at least every 16 s (at the longest quiet time of the delivered settings).
    EXPECT_GE(flashes, 200 / 16) << run.output;
    EXPECT_TRUE(std::filesystem::exists(out + "/trace.log"));
    EXPECT_FALSE(std::filesystem::exists(out + "/frame-00000.png"));
    EXPECT_FALSE(std::filesystem::exists(out + "/sound.wav"));
}

TEST(Soak, AMinutesHeapIsTheSameOnOneProcessorAsOnAll) {
    // The software renderer's own threads would hold a varying number of frames and the textures
    // they drew, whatever the saver itself keeps. The two runs share the machine, as runs do.
    TempDir all, one;
    const pid_t onAllPid = StartSoak(all, false);
    const pid_t onOnePid = StartSoak(one, true);
    const ProgramRun onAll = FinishProgram(all, onAllPid);
    const ProgramRun onOne = FinishProgram(one, onOnePid);
    ASSERT_TRUE(EndedCleanly(onAll, {0}));
    ASSERT_TRUE(EndedCleanly(onOne, {0}));
    const std::vector<long> heaps = MinuteHeaps(onAll.output), heapsOnOne = MinuteHeaps(onOne.output);
    ASSERT_EQ(heaps.size(), 1u) << onAll.output;
    ASSERT_EQ(heapsOnOne.size(), 1u) << onOne.output;
    EXPECT_NEAR(heaps[0], heapsOnOne[0], 256);
}

TEST(Soak, ALongPieceOfMusicIsWhollyDecodedBeforeTheFirstMinuteIsMeasured) {
    // Decoding runs on a worker below the frames' priority: on one processor a long piece would
    // still be decoding minutes into the run if the mix did not wait for it.
    constexpr int kRate = 22050;
    constexpr int kShortSeconds = 20, kLongSeconds = 480;
    auto withMusic = [](const TempDir& dir, int seconds) {
        std::vector<float> tone(static_cast<size_t>(seconds) * kRate);
        for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * std::sin(static_cast<float>(i) * 0.05f);
        const std::array<std::span<const float>, 1> mono{tone};
        std::filesystem::create_directories(dir.path() + "/Media");
        const std::vector<uint8_t> music = mediagen::EncodeOggVorbis(mono, kRate, 0.1f);
        std::ofstream(dir.path() + "/Media/ClockMusic.ogg", std::ios::binary)
            .write(reinterpret_cast<const char*>(music.data()), static_cast<std::streamsize>(music.size()));
        return FinishProgram(dir, StartSoak(dir, true));
    };
    TempDir shortDir, longDir;
    const ProgramRun shortRun = withMusic(shortDir, kShortSeconds);
    const ProgramRun longRun = withMusic(longDir, kLongSeconds);
    ASSERT_TRUE(EndedCleanly(shortRun, {0}));
    ASSERT_TRUE(EndedCleanly(longRun, {0}));
    const std::string trace = ReadFile(longDir.path() + "/out/trace.log");
    ASSERT_NE(trace.find("/ClockMusic.ogg sample loaded"), std::string::npos) << trace;
    const std::vector<long> shortHeaps = MinuteHeaps(shortRun.output), longHeaps = MinuteHeaps(longRun.output);
    ASSERT_EQ(shortHeaps.size(), 1u) << shortRun.output;
    ASSERT_EQ(longHeaps.size(), 1u) << longRun.output;
    // The first minute's heap holds the longer piece's whole extra sound, in 16-bit mono samples.
    const long longerKb = static_cast<long>(kLongSeconds - kShortSeconds) * kRate * 2 / 1024;
    EXPECT_NEAR(longHeaps[0] - shortHeaps[0], longerKb, longerKb / 20);
}
