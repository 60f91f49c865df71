#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/sys/Clock.h"

// Both time sources the engine reads run forward at the same rate.
TEST(PerformanceClock, CounterAndMillisecondTickAdvanceTogether) {
    sys::Clock& clock = sys::GetClock();
    int64_t frequency = 0;
    ASSERT_TRUE(clock.QueryPerformanceFrequency(frequency));
    ASSERT_GT(frequency, 0);
    int64_t before = 0, after = 0;
    const uint32_t tickBefore = clock.TimeGetTime();
    ASSERT_TRUE(clock.QueryPerformanceCounter(before));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(clock.QueryPerformanceCounter(after));
    const uint32_t tickAfter = clock.TimeGetTime();
    const int64_t counterMs = (after - before) * 1000 / frequency;
    const int64_t tickMs = static_cast<int64_t>(tickAfter - tickBefore);
    EXPECT_GE(counterMs, 190);
    // The tick was read outside the counter's interval, and may step in units of a timer period.
    EXPECT_GE(tickMs, counterMs - 20);
    EXPECT_LE(tickMs, counterMs + 1000);
}
