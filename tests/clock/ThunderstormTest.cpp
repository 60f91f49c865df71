// The storm on a hand-driven clock with a seeded generator: when flashes come, how they look on the
// gamma ramp, when thunder plays, and how winks follow double flashes.

#include "clock/Thunderstorm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/Random.h"
#include "platform/sys/Clock.h"

namespace {

class RecordingThunder final : public ThunderSound {
public:
    bool ThunderLoaded() const override { return loaded; }
    bool EffectsAudible() const override { return audible; }
    void PlayThunder(int index, int volume) override { plays.push_back({index, volume, clock->Ms()}); }

    struct Play {
        int index;
        int volume;
        int64_t atMs;
    };
    bool loaded = true;
    bool audible = true;
    std::vector<Play> plays;
    const sys::TestClock* clock = nullptr;
};

class ThunderstormTest : public testing::Test {
protected:
    ThunderstormTest() { sound.clock = &clock; }

    // One frame of the storm as the clock's Update runs it; the gamma change it asks for.
    Thunderstorm::GammaChange Frame() {
        storm.StartFlashAndThunder(sound);
        const Thunderstorm::GammaChange change = storm.StartWinkAndEvaluateFlash();
        storm.EvaluateWink();
        return change;
    }
    void Run(int64_t ms, int64_t step = 10) {
        for (int64_t t = 0; t < ms; t += step) {
            clock.AdvanceMs(step);
            Frame();
        }
    }
    // Frames until a flash starts; false when none starts within `limitMs`.
    bool RunUntilFlash(int64_t limitMs, int64_t step = 1) {
        for (int64_t t = 0; t < limitMs; t += step) {
            clock.AdvanceMs(step);
            Frame();
            if (storm.flashActive()) return true;
        }
        return false;
    }

    sys::TestClock clock{50000};
    sys::ScopedClock useClock{clock};
    RecordingThunder sound;
    Thunderstorm storm;
};

// Seeds whose first flash is (or is not) a double flash, found by replaying the draws.
unsigned SeedWithFirstFlash(bool doubleFlash) {
    for (unsigned seed = 1;; ++seed) {
        SeedRandom(seed);
        Random();
        Random();
        if ((Random() % 5 == 0) == doubleFlash) return seed;
    }
}

}  // namespace

TEST_F(ThunderstormTest, FirstFlashComesOneSecondAfterStartWithTheDrawsInOrder) {
    SeedRandom(7);
    const int duration = Random() % 400 + 300;
    const float strength = static_cast<float>(Random() % 100) / 100.0f * 0.5f + 0.5f;
    SeedRandom(7);
    storm.Start();
    clock.AdvanceMs(999);
    Frame();
    EXPECT_FALSE(storm.flashActive());
    clock.AdvanceMs(1);
    Frame();
    ASSERT_TRUE(storm.flashActive());
    EXPECT_EQ(storm.flashDuration(), duration);
    EXPECT_FLOAT_EQ(storm.flashStrength(), strength);
    EXPECT_GE(storm.flashDuration(), 300);
    EXPECT_LE(storm.flashDuration(), 699);
}

TEST_F(ThunderstormTest, QuietTimeBoundsTheGapsFromTheEndOfEachFlash) {
    storm.SetQuietTime(3000);
    SeedRandom(12345);
    storm.Start();
    int ordinary = 0, doubles = 0;
    ASSERT_TRUE(RunUntilFlash(2000));
    constexpr int64_t kStep = 5;
    for (int flashes = 0; flashes < 60; ++flashes) {
        // Run the flash to its end, then measure the quiet gap to the next one.
        while (storm.flashActive()) {
            clock.AdvanceMs(kStep);
            Frame();
        }
        const int interval = storm.nextFlashInterval();
        const int64_t endedAt = clock.Ms();
        ASSERT_TRUE(RunUntilFlash(20000, kStep));
        const int64_t gap = clock.Ms() - endedAt;
        EXPECT_GE(gap, std::max(interval, 1));  // the first frame that reaches the interval
        EXPECT_LT(gap, std::max(interval, 1) + kStep);
        if (interval < 100) {
            ++doubles;
        } else {
            ++ordinary;
            EXPECT_GE(interval, 3000);
            EXPECT_LE(interval, 14999);
        }
    }
    EXPECT_GT(ordinary, 0);
    EXPECT_GT(doubles, 0);
}

// Draws are 0 to 32767, so with times above a third (or half) of that the modulo no longer
// cuts: an ordinary gap is at most 2 x QuietTime + 32767 and a wink at most WinkTime + 32767.
TEST_F(ThunderstormTest, LongSceneTimesKeepTheDrawsWithinTheGeneratorsRange) {
    constexpr int kQuiet = 20000, kWink = 20000;
    storm.SetQuietTime(kQuiet);
    storm.SetWinkTime(kWink);
    SeedRandom(99);
    storm.Start();
    int ordinary = 0;
    int winks = 0, previousWink = -1;
    for (int flashes = 0; flashes < 200;) {
        clock.AdvanceMs(50);
        const bool wasActive = storm.flashActive();
        Frame();
        if (storm.winkActive() && storm.winkDuration() != previousWink) {
            previousWink = storm.winkDuration();
            ++winks;
            EXPECT_GE(previousWink, kWink);
            EXPECT_LE(previousWink, kWink + kRandomMax);
        }
        if (wasActive || !storm.flashActive()) continue;
        ++flashes;
        const int interval = storm.nextFlashInterval();
        if (interval < 100) continue;
        ++ordinary;
        EXPECT_GE(interval, kQuiet);
        EXPECT_LE(interval, 2 * kQuiet + kRandomMax);
    }
    EXPECT_GT(ordinary, 100);
    EXPECT_GT(winks, 5);
}

TEST_F(ThunderstormTest, FlashLevelRisesAndFallsAndTheLastFrameShowsTheBaseRamp) {
    storm.SetBaseRamp(BuildGammaRamp(0));
    SeedRandom(SeedWithFirstFlash(false));
    storm.Start();
    clock.AdvanceMs(1000);
    EXPECT_EQ(Frame(), Thunderstorm::GammaChange::kFlash);
    EXPECT_FLOAT_EQ(storm.flashLevel(), 0.0f);  // the very first moment is still dark
    const int duration = storm.flashDuration();
    const float s = storm.flashStrength();

    clock.AdvanceMs(duration / 2);
    EXPECT_EQ(Frame(), Thunderstorm::GammaChange::kFlash);
    EXPECT_NEAR(storm.flashLevel(), 1.0f, 0.01f);
    // At full level the ramp is the flash ramp itself.
    for (int i : {0, 100, 255}) {
        const double flash = std::min(65535.0, static_cast<double>(std::trunc(s * 32768.0f + static_cast<float>(i) * (s * 256.0f + 256.0f))));
        EXPECT_NEAR(storm.FlashRamp().red[i], flash * storm.flashLevel() + BuildGammaRamp(0).red[i] * (1 - storm.flashLevel()), 1.0) << i;
        EXPECT_EQ(storm.FlashRamp().red[i], storm.FlashRamp().blue[i]);
    }

    clock.AdvanceMs(duration - duration / 2);
    EXPECT_EQ(Frame(), Thunderstorm::GammaChange::kBase);
    EXPECT_FALSE(storm.flashActive());
    EXPECT_FLOAT_EQ(storm.flashLevel(), 0.0f);
    clock.AdvanceMs(10);
    EXPECT_EQ(Frame(), Thunderstorm::GammaChange::kNone);
}

TEST_F(ThunderstormTest, ThunderPlaysHalfASecondAfterTheFlashOnlyWhileAudible) {
    SeedRandom(SeedWithFirstFlash(false));
    storm.Start();
    clock.AdvanceMs(1000);
    Frame();
    ASSERT_TRUE(storm.flashActive());
    const int64_t flashAt = clock.Ms();
    Run(490);
    EXPECT_TRUE(sound.plays.empty());
    Run(20, 1);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].atMs - flashAt, 500);
    EXPECT_GE(sound.plays[0].index, 0);
    EXPECT_LE(sound.plays[0].index, 2);
    const int volume = sound.plays[0].volume;
    EXPECT_TRUE(volume == 0 || volume == 100 || (volume >= 20 && volume <= 49)) << volume;
    EXPECT_EQ(storm.PendingThunder(), 0u);
}

TEST_F(ThunderstormTest, SilentEffectsKeepQueuedThunderUntilItIsStale) {
    sound.audible = false;
    SeedRandom(SeedWithFirstFlash(false));
    storm.Start();
    clock.AdvanceMs(1000);
    Frame();
    Run(2000);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_EQ(storm.PendingThunder(), 1u);
    // Sound comes back while the entry is still fresh: the thunder is heard.
    sound.audible = true;
    Run(10);
    EXPECT_EQ(sound.plays.size(), 1u);

    // Left silent past the stale age, the entry goes without a sound.
    sound.audible = false;
    sound.plays.clear();
    while (!storm.flashActive()) Run(10);
    sound.loaded = false;  // no later flash queues thunder of its own
    Run(Thunderstorm::kStaleThunderMs + 20);
    EXPECT_EQ(storm.PendingThunder(), 0u);
    sound.audible = true;
    Run(10);
    EXPECT_TRUE(sound.plays.empty());
}

TEST_F(ThunderstormTest, WithoutTheThunderSampleNoThunderIsQueued) {
    sound.loaded = false;
    SeedRandom(3);
    storm.Start();
    Run(1100);
    EXPECT_TRUE(storm.flashActive());
    EXPECT_EQ(storm.PendingThunder(), 0u);
}

TEST_F(ThunderstormTest, DoubleFlashFollowsAtOnceAndTheLampWinksLater) {
    storm.SetWinkTime(1000);
    SeedRandom(SeedWithFirstFlash(true));
    storm.Start();
    clock.AdvanceMs(1000);
    Frame();
    ASSERT_TRUE(storm.flashActive());
    EXPECT_LT(storm.nextFlashInterval(), 100);
    EXPECT_EQ(storm.PendingWinks(), 1u);
    while (storm.flashActive()) Run(1, 1);
    ASSERT_TRUE(RunUntilFlash(100));

    // The wink starts 1000 to 2999 ms after the first flash and stays between 0 and 0.5.
    bool winked = false;
    float highest = 0;
    for (int t = 0; t < 3000 && !winked; t += 5) {
        Run(5, 5);
        winked = storm.winkActive();
    }
    ASSERT_TRUE(winked);
    EXPECT_GE(storm.winkDuration(), 1000);
    EXPECT_LE(storm.winkDuration(), 2999);
    int64_t started = clock.Ms();
    while (storm.winkActive()) {
        Run(5, 5);
        highest = std::max(highest, storm.winkLevel());
        EXPECT_GE(storm.winkLevel(), 0.0f);
        EXPECT_LE(storm.winkLevel(), 0.5f);
        EXPECT_GE(storm.winkPeriod(), 500.0f);
        EXPECT_LE(storm.winkPeriod(), 600.0f);
        ASSERT_LT(clock.Ms() - started, 10000) << "the wink never ended";
    }
    EXPECT_GT(highest, 0.4f);
    EXPECT_EQ(storm.winkLevel(), 0.0f);
    // It ran its full length and ended on a low point of the wave.
    EXPECT_GE(clock.Ms() - started, storm.winkDuration());
}

TEST(RealModulo, KeepsTheSignOfTheDivisorAndSurvivesZero) {
    EXPECT_DOUBLE_EQ(RealModulo(1250.0, 500.0), 250.0);
    EXPECT_DOUBLE_EQ(RealModulo(-100.0, 500.0), 400.0);
    EXPECT_DOUBLE_EQ(RealModulo(7.0, 0.00005), 0.0);
}

TEST(ThunderstormTimes, ZeroOrHugeSceneValuesDoNotBreakTheDraws) {
    sys::TestClock clock{0};
    sys::ScopedClock useClock{clock};
    RecordingThunder sound;
    sound.clock = &clock;
    Thunderstorm storm;
    storm.SetQuietTime(0);
    storm.SetWinkTime(2000000000);
    EXPECT_EQ(storm.QuietTime(), 1);
    EXPECT_EQ(storm.WinkTime(), 24 * 60 * 60 * 1000);
    SeedRandom(1);
    storm.Start();
    for (int i = 0; i < 5000; ++i) {
        clock.AdvanceMs(3);
        storm.StartFlashAndThunder(sound);
        storm.StartWinkAndEvaluateFlash();
        storm.EvaluateWink();
        ASSERT_GE(storm.nextFlashInterval(), 0);
    }
}
