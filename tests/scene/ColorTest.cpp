#include "scene/Color.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Color, PacksEachChannelTimes256TruncatedAndLimited) {
    EXPECT_EQ(PackColor({1.0f, 1.0f, 1.0f, 1.0f}), 0xFFFFFFFFu);
    EXPECT_EQ(PackColor({0.5f, 0.5f, 0.5f, 0.5f}), 0x80808080u);
    // alpha, red, green, blue go to bytes 3, 2, 1, 0.
    EXPECT_EQ(PackColor({1.0f, 100.0f / 255, 0.0f, 0.25f}), 0xFF640040u);
    EXPECT_EQ(PackColor({0.0f, 0.999f, 0.0f, 0.0f}), 0x00FF0000u);
}

TEST(Color, OutOfRangeChannelsStayInTheirByte) {
    EXPECT_EQ(PackColor({-1.0f, 2.0f, -0.01f, 0.0f}), 0x00FF0000u);
    EXPECT_EQ(PackColor({std::numeric_limits<float>::quiet_NaN(), 0, 0, 0}), 0u);
}

TEST(Color, BlendsGiveOpaqueResultsWithTheirLimits) {
    const EngineColor a{0.2f, 0.6f, 0.4f, 0.2f};
    const EngineColor b{0.7f, 0.8f, 0.1f, 0.5f};
    const EngineColor sum = BlendSum(a, 1.0f, b, 0.5f);
    EXPECT_FLOAT_EQ(sum.a, 1.0f);
    EXPECT_FLOAT_EQ(sum.r, 1.0f);  // 0.6 + 0.4 limited
    EXPECT_FLOAT_EQ(sum.g, 0.45f);
    EXPECT_FLOAT_EQ(sum.b, 0.45f);

    const EngineColor difference = BlendDifference(a, 1.0f, b, 1.0f);
    EXPECT_FLOAT_EQ(difference.a, 1.0f);
    EXPECT_FLOAT_EQ(difference.r, 0.0f);  // negative limited to 0
    EXPECT_FLOAT_EQ(difference.g, 0.3f);
    EXPECT_FLOAT_EQ(difference.b, 0.0f);

    const EngineColor product = BlendProduct(a, 2.0f, b, 0.5f);
    EXPECT_FLOAT_EQ(product.a, 1.0f);
    EXPECT_FLOAT_EQ(product.r, 0.48f);
    EXPECT_FLOAT_EQ(product.g, 0.04f);
    EXPECT_FLOAT_EQ(product.b, 0.1f);
}
