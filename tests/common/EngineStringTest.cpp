#include "common/EngineString.h"

#include <gtest/gtest.h>

#include <utility>

TEST(EngineString, EmptyHoldsNoTextButReadsAsEmpty) {
    EngineString empty;
    EXPECT_EQ(empty.length(), 0u);
    EXPECT_STREQ(empty.c_str(), "");
    EngineString fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.empty());
    EXPECT_TRUE(EngineString("abc", 0).empty());
}

TEST(EngineString, BuildsFromTextPointerLengthAndCharacter) {
    EXPECT_EQ(EngineString("hello"), "hello");
    EXPECT_EQ(EngineString("hello world", 5), "hello");
    EXPECT_EQ(EngineString('x'), "x");
    EXPECT_EQ(EngineString("hello").length(), 5u);
}

TEST(EngineString, FormatsIntegersInAnyRadix) {
    EXPECT_EQ(EngineString(int32_t{-42}, 10), "-42");
    EXPECT_EQ(EngineString(int32_t{255}, 16), "ff");
    EXPECT_EQ(EngineString(int32_t{-1}, 16), "ffffffff");
    EXPECT_EQ(EngineString(uint32_t{4294967295u}, 10), "4294967295");
    EXPECT_EQ(EngineString(uint32_t{5}, 2), "101");
    EXPECT_EQ(EngineString(int16_t{-1}, 16), "ffff");
    EXPECT_EQ(EngineString(int16_t{-300}, 10), "-300");
    EXPECT_EQ(EngineString(int32_t{0}, 10), "0");
    EXPECT_EQ(EngineString(int32_t{INT32_MIN}, 10), "-2147483648");
    EXPECT_EQ(EngineString(uint32_t{35}, 36), "z");
}

TEST(EngineString, FormatsFloatsWithSignificantDigits) {
    EXPECT_EQ(EngineString(3.14159, 3), "3.14");
    EXPECT_EQ(EngineString(1.0, 6), "1");
    EXPECT_EQ(EngineString(1500.0, 2), "1.5e+03");
    EXPECT_EQ(EngineString(-0.25, 6), "-0.25");
}

TEST(EngineString, ConcatenatesAllThreeWays) {
    const EngineString a("foo");
    EXPECT_EQ(a + EngineString("bar"), "foobar");
    EXPECT_EQ(a + "bar", "foobar");
    EXPECT_EQ("bar" + a, "barfoo");
    EXPECT_EQ(EngineString() + "", "");
    EXPECT_EQ("x" + EngineString() + "y", "xy");
    EngineString b = a;
    b += EngineString("!");
    EXPECT_EQ(b, "foo!");
    EXPECT_EQ(a, "foo");
}

TEST(EngineString, CopiesOwnTheirTextAndMovesLeaveEmpty) {
    EngineString a("text");
    EngineString copy = a;
    EXPECT_NE(copy.c_str(), a.c_str());
    EngineString moved = std::move(a);
    EXPECT_EQ(moved, "text");
    EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
    copy = copy;
    EXPECT_EQ(copy, "text");
}

TEST(EngineString, ComparesNamesIgnoringCaseAndOrdersThemByBytes) {
    EXPECT_TRUE(EqualsIgnoreCase("Clock glass", "CLOCK GLASS"));
    EXPECT_TRUE(EqualsIgnoreCase("", EngineString().view()));
    EXPECT_FALSE(EqualsIgnoreCase("Clock", "Clock glass"));
    EXPECT_FALSE(EqualsIgnoreCase("a[", "A{"));  // only letters fold
    EXPECT_TRUE(EngineString("Lamp") < EngineString("lamp"));
    EXPECT_FALSE(EngineString("b") < EngineString("a"));
}
