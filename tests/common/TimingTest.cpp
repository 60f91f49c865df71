#include "common/Timing.h"

#include <gtest/gtest.h>

#include "platform/sys/Clock.h"

TEST(NowMs, ReadsTheCounterInMilliseconds) {
    sys::TestClock clock(12345);
    sys::ScopedClock scope(clock);
    EXPECT_EQ(NowMs(), 12345);
    clock.SetCounterFrequency(3579545);  // an old ACPI timer rate
    EXPECT_EQ(NowMs(), clock.Ms() * 3579545 / 1000 / (3579545 / 1000));
}

TEST(NowMs, CutsToThirtyTwoBitsAndSignExtends) {
    sys::TestClock clock(int64_t{0x80000005});
    sys::ScopedClock scope(clock);
    EXPECT_EQ(NowMs(), int64_t{-2147483643});
    clock.SetMs(int64_t{0x100000010});
    EXPECT_EQ(NowMs(), 16);
}

TEST(NowMs, FallsBackToTheTickWithoutAUsableCounter) {
    sys::TestClock clock(int64_t{0xFFFFFFFF});
    sys::ScopedClock scope(clock);
    clock.SetCounterAvailable(false);
    EXPECT_EQ(NowMs(), int64_t{0xFFFFFFFF});  // zero-extended, not sign-extended
    clock.SetCounterAvailable(true);
    clock.SetCounterFrequency(999);  // slower than 1 kHz is not used either
    EXPECT_EQ(NowMs(), int64_t{0xFFFFFFFF});
}

TEST(Stopwatch, MeasuresAndFiresOnItsPeriod) {
    sys::TestClock clock(1000);
    sys::ScopedClock scope(clock);
    Stopwatch watch;
    clock.AdvanceMs(999);
    EXPECT_EQ(watch.Elapsed(), 999);
    EXPECT_FALSE(watch.IntervalElapsed(1000));
    clock.AdvanceMs(1);
    EXPECT_TRUE(watch.IntervalElapsed(1000));
    EXPECT_EQ(watch.Elapsed(), 0);
    EXPECT_EQ(watch.Reset(), 2000);
}

TEST(Stopwatch, FiresWhenTheClockJumpsBackAWholePeriod) {
    sys::TestClock clock(50000);
    sys::ScopedClock scope(clock);
    Stopwatch watch;
    clock.SetMs(49001);
    EXPECT_FALSE(watch.IntervalElapsed(1000));
    EXPECT_EQ(watch.Start(), 50000);
    clock.SetMs(49000);
    EXPECT_TRUE(watch.IntervalElapsed(1000));
    EXPECT_EQ(watch.Start(), 49000);
}
