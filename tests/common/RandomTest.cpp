#include "common/Random.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(Random, FollowsTheLinearCongruentialFormulaFromItsSeed) {
    // Seed 1: state = 1 x 214013 + 2531011 = 2745024, and 2745024 >> 16 = 41; the next states
    // wrap at 2^32 and give the rest.
    SeedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(Random(), expected);
    // The same seed replays the same values.
    SeedRandom(5);
    const int first = Random();
    const int second = Random();
    SeedRandom(5);
    EXPECT_EQ(Random(), first);
    EXPECT_EQ(Random(), second);
    // Seed 0: state 2531011, 2531011 >> 16 = 38.
    SeedRandom(0);
    EXPECT_EQ(Random(), 38);
}

TEST(Random, CoversZeroTo32767AndNothingElse) {
    SeedRandom(12345);
    int lowest = kRandomMax, highest = 0;
    for (int i = 0; i < (1 << 20); ++i) {
        const int value = Random();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}
