// A few simulated minutes of the long run: the device lost each minute and the window resized
// after a minute and a half come back through the device's reset with every texture and buffer
// made again, the run reports its camera paths and storm, and nothing but the trace is written.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "reliability/ProgramChecks.h"

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
