#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace {
struct Parsed {
    RunMode mode;
    uint32_t handle;
};
Parsed Parse(const char* line) {
    uint32_t handle = 12345;
    const RunMode mode = ParseCommandLine(line, handle);
    return {mode, handle};
}
}  // namespace

TEST(ParseCommandLine, NoSwitchMeansConfigureWithoutOwner) {
    EXPECT_EQ(Parse("quelmont").mode, RunMode::Configure);
    EXPECT_EQ(Parse("quelmont").handle, 0u);
    EXPECT_EQ(Parse("").mode, RunMode::Configure);
    EXPECT_EQ(Parse(nullptr).mode, RunMode::Configure);
    EXPECT_EQ(Parse("\"/opt/my saver/quelmont\"   ").mode, RunMode::Configure);
}

TEST(ParseCommandLine, QuotedProgramPathIsSkippedWhole) {
    EXPECT_EQ(Parse("\"/usr/lib/some-dir/quelmont\" /s").mode, RunMode::Saver);
    EXPECT_EQ(Parse("\"/usr/lib/some-dir/quelmont\"").mode, RunMode::Configure);
    EXPECT_EQ(Parse("\"/usr/lib/x/quelmont\" /p 77").handle, 77u);
    // An unclosed quote swallows the whole line.
    EXPECT_EQ(Parse("\"/usr/lib/x/quelmont /s").mode, RunMode::Configure);
}

TEST(ParseCommandLine, UnquotedProgramPathIsSkippedOnlyToItsFirstBlank) {
    EXPECT_EQ(Parse("/usr/bin/quelmont /t").mode, RunMode::Test);
    // The path's second part, after a blank, is read as the switch.
    EXPECT_EQ(Parse("/opt/my saver/quelmont /c").mode, RunMode::Saver);
    EXPECT_EQ(Parse("/opt/my -caver/quelmont").mode, RunMode::Configure);
}

TEST(ParseCommandLine, PreviewTakesTheNumberAfterBlanksOrColon) {
    EXPECT_EQ(Parse("q /p 1234").mode, RunMode::Preview);
    EXPECT_EQ(Parse("q /p 1234").handle, 1234u);
    EXPECT_EQ(Parse("q /P:5678").handle, 5678u);
    EXPECT_EQ(Parse("q -p   42").handle, 42u);
    EXPECT_EQ(Parse("q /p").mode, RunMode::Preview);
    EXPECT_EQ(Parse("q /p").handle, 0u);
    EXPECT_EQ(Parse("q /p window").handle, 0u);
    EXPECT_EQ(Parse("q /p 99999999999999999999").mode, RunMode::Preview);  // no crash on overflow
}

// A handle is 32 bits on every platform, whatever the width of the C library's long: the upper
// half of its range is kept, and an overlong number gives the same handle everywhere.
TEST(ParseCommandLine, HandlesPastTheSignedRangeAreTheSameOnEveryPlatform) {
    EXPECT_EQ(Parse("q /p 3000000000").handle, 3000000000u);
    EXPECT_EQ(Parse("q /p 4294967295").handle, 4294967295u);
    EXPECT_EQ(Parse("q /p 99999999999999999999").handle, Parse("q /p 9223372036854775807").handle);
    EXPECT_EQ(Parse("q /p 0x100000005").handle, Parse("q /p 4294967301").handle);
}

TEST(ParseCommandLine, WindowIdsAsXToolsPrintThemAreHex) {
    EXPECT_EQ(Parse("q /p 0x2a00007").handle, 0x2a00007u);
    EXPECT_EQ(Parse("q /p:0X1F").handle, 0x1Fu);
    EXPECT_EQ(Parse("q /c 0x10").handle, 16u);
    EXPECT_EQ(Parse("q /p 010").handle, 10u);  // a leading zero is still decimal
    EXPECT_EQ(Parse("q /p 0").handle, 0u);
    EXPECT_EQ(Parse("q /p 0x").handle, 0u);
}

TEST(ParseCommandLine, LettersInBothCases) {
    EXPECT_EQ(Parse("q /S").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q /s").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q -T").mode, RunMode::Test);
    EXPECT_EQ(Parse("q /c").mode, RunMode::Configure);
    EXPECT_EQ(Parse("q /C:300").handle, 300u);
    EXPECT_EQ(Parse("q /a 5").mode, RunMode::ChangePassword);
    EXPECT_EQ(Parse("q /A 5").handle, 5u);
}

TEST(ParseCommandLine, OtherLettersAndBareSwitchesRunTheSaver) {
    EXPECT_EQ(Parse("q /x").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q /").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q -root").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q -window-id 0x400007").mode, RunMode::Saver);
    EXPECT_EQ(Parse("q --record out --seconds 1").mode, RunMode::Saver);
}
