#include <gtest/gtest.h>

#include "shell/ClockText.h"
#include "shell/FrameRate.h"

TEST(FrameRateCounter, RunningEstimateThenExactCountAtTheBoundary) {
    FrameRateCounter counter;
    counter.Start(1000);
    EXPECT_FALSE(counter.Count(1000));  // now = window start: the figure stays
    EXPECT_EQ(counter.Rate(), 0);
    EXPECT_FALSE(counter.Count(1250));  // 2 frames in 250 ms
    EXPECT_EQ(counter.Rate(), 8);
    for (int t = 1300; t < 2000; t += 100) counter.Count(t);
    EXPECT_EQ(counter.Rate(), 9 * 1000 / 900);
    ASSERT_TRUE(counter.Count(2000));  // the window closes: exactly the frames counted in it
    EXPECT_EQ(counter.Rate(), 9);
    counter.RestartWindow(2000);
    counter.Count(2000);
    EXPECT_EQ(counter.Rate(), 9);  // now = window start again leaves the previous figure
    counter.Count(2100);
    EXPECT_EQ(counter.Rate(), 2 * 1000 / 100);
}

TEST(ClockText, TwelveHourStyle) {
    EXPECT_EQ(FormatClockText({2026, 12, 7, 0, 30, 5}, false), "0:30:05 am");
    EXPECT_EQ(FormatClockText({2026, 12, 7, 12, 0, 0}, false), "12:00:00 pm");
    EXPECT_EQ(FormatClockText({2026, 12, 7, 13, 9, 59}, false), "1:09:59 pm");
    EXPECT_EQ(FormatClockText({2026, 12, 7, 11, 59, 59}, false), "11:59:59 am");
}

TEST(ClockText, TwentyFourHourStyleEndsWithTheBlank) {
    EXPECT_EQ(FormatClockText({2026, 12, 7, 23, 5, 7}, true), "23:05:07 ");
    EXPECT_EQ(FormatClockText({2026, 12, 7, 0, 0, 0}, true), "0:00:00 ");
}

TEST(ClockText, FieldsOutOfRangeAreCutToTheBuffer) {
    ClockTextBuffer buffer;
    buffer.fill('x');
    const std::string_view text = FormatClockText({2026, 12, 7, -2147483647 - 1, 2147483647, -5}, false, buffer);
    EXPECT_EQ(text, std::string_view("-2147483648:2147483647:-").substr(0, buffer.size() - 1));
    EXPECT_EQ(buffer[text.size()], '\0');
}

TEST(ClockText, LogTimestamp) {
    EXPECT_EQ(FormatLogTimestamp({2026, 12, 6, 9, 5, 7}), "6/12/2026, 9:05:07 ");
}
