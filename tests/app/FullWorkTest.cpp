// The OpenGL device leaves out work that cannot change a pixel (blending and the alpha test where
// alpha is 1 everywhere, a depth clear no later draw tests, the gamma lookup where the ramp only
// adds a constant). Recordings made that way and with QUELMONT_GL_FULL_WORK=1, which does all
// the work, must be the same bytes: every camera path, a double flash with the lamp's wink after
// it, the default Gamma and Gamma 0, with both labels drawn over the room.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ImageFile.h"
#include "support/ProgramRun.h"

namespace {

struct Recording {
    ProgramRun run;
    std::vector<std::string> frames;  // the PNG files' bytes
    std::vector<double> brightness;
};

// Small frames keep the runs short; the labels use the whole height.
Recording Record(const std::vector<std::string>& options, bool fullWork) {
    TempDir dir;
    const std::string folder = dir.path() + "/out";
    std::vector<std::string> args = {"--record", folder, "--size", "64x48", "--time", "10:10:00",
                                     "--set", "ShowFps=1", "--set", "ShowTime=1"};
    args.insert(args.end(), options.begin(), options.end());
    Recording r;
    r.run = RunProgram(dir, args, {fullWork ? "QUELMONT_GL_FULL_WORK=1" : "QUELMONT_GL_FULL_WORK=0"});
    for (int k = 0;; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%05d.png", k);
        if (!std::filesystem::exists(folder + name)) break;
        r.frames.push_back(ReadFile(folder + name));
        r.brightness.push_back(MeanBrightness(folder + name));
    }
    return r;
}

// Records `options` both ways; returns the frames made with the shortcuts.
Recording ExpectSameFrames(const std::vector<std::string>& options, int frames, const std::string& what) {
    Recording shortcuts = Record(options, false);
    const Recording fullWork = Record(options, true);
    EXPECT_EQ(shortcuts.run.exitCode, 0) << what << ": " << shortcuts.run.errors;
    EXPECT_EQ(fullWork.run.exitCode, 0) << what << ": " << fullWork.run.errors;
    EXPECT_EQ(shortcuts.frames.size(), static_cast<size_t>(frames)) << what;
    EXPECT_EQ(fullWork.frames.size(), shortcuts.frames.size()) << what;
    for (size_t k = 0; k < shortcuts.frames.size() && k < fullWork.frames.size(); ++k)
        EXPECT_TRUE(shortcuts.frames[k] == fullWork.frames[k]) << what << ", frame " << k << " differs";
    return shortcuts;
}

// Two frames a second of each path's first two seconds, its fade-in included. The gamma pass
// does not depend on the view, so the paths take turns between the two Gamma settings.
TEST(FullWork, EveryCameraPathLooksTheSameWithoutIt) {
    for (int path = 1; path <= 10; ++path) {
        const std::string name = "c" + std::to_string(path) + ".cam";
        const std::string gamma = path % 2 ? "Gamma=100" : "Gamma=0";
        const Recording r = ExpectSameFrames({"--path", name, "--set", gamma, "--seconds", "2", "--fps", "2"}, 4,
                                             name + " at " + gamma);
        if (r.brightness.size() == 4) {
            EXPECT_NE(r.brightness[2], r.brightness[3]) << name << ": the view stands still";
        }
    }
}

// Seed 5's first flash, at about 1.2 s, is a double one: two flash ramps through the lookup. The
// lamp winks from about 4 s (the light maps darken through the texture factor).
TEST(FullWork, AFlashAndAWinkLookTheSameWithoutIt) {
    constexpr int kFps = 6, kSeconds = 5, kFrames = kFps * kSeconds;
    for (const char* gamma : {"Gamma=100", "Gamma=0"}) {
        const Recording r = ExpectSameFrames({"--path", "c1.cam", "--seed", "5", "--set", gamma, "--seconds",
                                              std::to_string(kSeconds), "--fps", std::to_string(kFps)},
                                             kFrames, gamma);
        if (r.brightness.size() != kFrames) continue;
        bool flash = false;
        for (size_t k = 1; k < kFrames; ++k) flash = flash || r.brightness[k] - r.brightness[k - 1] > 20;
        EXPECT_TRUE(flash) << gamma << ": no flash recorded";
        const double beforeWink = r.brightness[kFrames - kFps - 1];
        double darkest = beforeWink;
        for (size_t k = kFrames - kFps; k < kFrames; ++k) darkest = std::min(darkest, r.brightness[k]);
        EXPECT_LT(darkest, beforeWink - 5) << gamma << ": no wink recorded";
    }
}

}  // namespace
