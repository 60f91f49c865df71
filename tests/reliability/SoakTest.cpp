// A few simulated minutes of the long run: the device lost each minute comes back through its
// reset, and nothing but the trace is written.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "reliability/ProgramChecks.h"

TEST(Soak, EveryDeviceLossIsRecoveredAndNoFramesAreKept) {
    TempDir dir;
    const std::string out = dir.path() + "/out";
    const ProgramRun run = RunProgram(dir, {"--record", out, "--soak", "--seconds", "200", "--size", "64x48", "--fps", "2"},
                                      SanitizerEnvironment());
    ASSERT_TRUE(EndedCleanly(run, {0}));
    std::istringstream lines(run.output);
    int minutes = 0, lastLosses = -1, lastRecovered = -1;
    for (std::string line; std::getline(lines, line);) {
        long long minute = 0;
        long rss = 0;
        int losses = 0, recovered = 0;
        if (std::sscanf(line.c_str(), "soak: minute %lld rss %ld kB losses %d recovered %d", &minute, &rss, &losses,
                        &recovered) != 4)
            continue;
        ++minutes;
        EXPECT_EQ(minute, minutes);
        EXPECT_GT(rss, 0);
        // The loss of the minute before has been recovered by now.
        EXPECT_EQ(losses, minutes - 1);
        EXPECT_EQ(recovered, losses) << line;
        lastLosses = losses;
        lastRecovered = recovered;
    }
    EXPECT_EQ(minutes, 3) << run.output;
    EXPECT_EQ(lastRecovered, lastLosses);
    EXPECT_TRUE(std::filesystem::exists(out + "/trace.log"));
    EXPECT_FALSE(std::filesystem::exists(out + "/frame-00000.png"));
    EXPECT_FALSE(std::filesystem::exists(out + "/sound.wav"));
}
