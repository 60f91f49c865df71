// Settings saved in a loop and killed with SIGKILL at random moments: the file is always one
// complete save, never empty, partial or a mix of two saves, and the saver starts with it.
// QUELMONT_KILL_RUNS sets the number of kills (scripts/stress runs 100).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "clock/ClockApplication.h"
#include "support/FakeSystem.h"
#include "support/MediaResources.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace {

int RunCount(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : fallback;
}

// Each save n holds Volume n % 101 and a photo path naming n, so a mix of two saves shows.
bool Save(ClockApplication& app, int n) {
    app.settings.Volume = n % 101;
    app.SetPhotoPath(EngineString(("/photos/" + std::to_string(n) + ".jpg").c_str()));
    return app.SaveSettings();
}

}  // namespace

TEST(SettingsKill, EveryKillLeavesOneCompleteSave) {
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    FakeSystem system;
    MediaResources media;
    const int runs = RunCount("QUELMONT_KILL_RUNS", 10);
    std::mt19937 random(18);
    {
        ClockApplication app;
        ASSERT_TRUE(app.LoadSettings());
        ASSERT_TRUE(Save(app, 0));
    }
    int saves = 1;
    for (int run = 0; run < runs; ++run) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ClockApplication app;
            app.LoadSettings();
            for (int n = saves;; ++n) Save(app, n);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 200000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        ClockApplication app;
        ASSERT_TRUE(app.LoadSettings()) << "run " << run;
        const std::string path = app.PhotoPath().c_str();
        ASSERT_TRUE(path.starts_with("/photos/") && path.ends_with(".jpg")) << "run " << run << ": '" << path << "'";
        const int n = std::atoi(path.c_str() + 8);
        EXPECT_EQ(app.settings.Volume, n % 101) << "run " << run << ": " << path;
        saves = n + 1;
        std::printf("settings kill run %d: %s\n", run, path.c_str());
    }
    std::printf("settings kill runs: %d, last save %d\n", runs, saves - 1);
}
