#include "shell/GammaRamp.h"

#include <gtest/gtest.h>

TEST(GammaRamp, ZeroIsIdentity) {
    const GammaRamp ramp = BuildGammaRamp(0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(ramp.red[i], i * 256);
}

TEST(GammaRamp, MinusHundredStartsAtZeroUpToSeventyEight) {
    const GammaRamp ramp = BuildGammaRamp(-100);
    EXPECT_EQ(ramp.red[0], 0);
    EXPECT_EQ(ramp.red[78], 0);
    EXPECT_EQ(ramp.red[79], 224);
    EXPECT_EQ(ramp.red[80], 480);
    EXPECT_EQ(ramp.red[255], 255 * 256 - 20000);
}

TEST(GammaRamp, HundredReachesTheTopAtOneSeventyEight) {
    const GammaRamp ramp = BuildGammaRamp(100);
    EXPECT_EQ(ramp.red[0], 20000);
    EXPECT_EQ(ramp.red[177], 20000 + 177 * 256);
    EXPECT_EQ(ramp.red[178], 65535);
    EXPECT_EQ(ramp.red[255], 65535);
    EXPECT_EQ(ramp.green, ramp.red);
    EXPECT_EQ(ramp.blue, ramp.red);
}
