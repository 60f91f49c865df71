#include "app/XScreenSaverPrograms.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// As XScreenSaver's settings program writes the file: tabs, "--root", the last entry without a
// continuation, other resources around the list.
const std::string kUserFile =
    "# XScreenSaver Preferences File\n"
    "mode:\t\tone\n"
    "selected:\t2\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "  \"Blit Spin\"  blitspin --root\t\t\t\t    \\n\\\n"
    "- default: \t\t\t/usr/lib/xscreensaver/xmatrix -root\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

}  // namespace

TEST(XScreenSaverPrograms, EntriesAreReadAcrossContinuedLines) {
    const XScreenSaverPrograms list = ParseXScreenSaverPrograms(kUserFile);
    ASSERT_TRUE(list.found);
    EXPECT_EQ(kUserFile.substr(list.begin, 9), "programs:");
    EXPECT_EQ(kUserFile.substr(list.end, 3), "\n\np");
    EXPECT_FALSE(list.open);
    EXPECT_TRUE(list.closed);
    ASSERT_EQ(list.programs.size(), 4u);
    EXPECT_TRUE(list.programs[0].enabled);
    EXPECT_EQ(list.programs[0].visual, "");
    EXPECT_EQ(list.programs[0].command, "maze --root");
    EXPECT_FALSE(list.programs[1].enabled);
    EXPECT_EQ(list.programs[1].visual, "GL");
    EXPECT_EQ(list.programs[1].command, "superquadrics --root");
    EXPECT_EQ(list.programs[2].command, "blitspin --root");
    EXPECT_EQ(list.programs[3].visual, "default");
    EXPECT_TRUE(ListsProgram(list, "xmatrix"));
    EXPECT_TRUE(ListsProgram(list, "superquadrics"));
    EXPECT_FALSE(ListsProgram(list, "quelmont"));
    EXPECT_FALSE(ListsProgram(list, "maze --root"));
}

TEST(XScreenSaverPrograms, OnlyTheProgramsResourceCountsAndTheLastOneWins) {
    EXPECT_FALSE(ParseXScreenSaverPrograms("").found);
    EXPECT_FALSE(ParseXScreenSaverPrograms("mode: random\nmyprograms: quelmont\n! programs: quelmont\n").found);
    // A doubled backslash at a line's end is a backslash, not a continuation.
    const XScreenSaverPrograms escaped = ParseXScreenSaverPrograms("programs: a \\\\\nquelmont: b\n");
    ASSERT_TRUE(escaped.found);
    EXPECT_FALSE(ListsProgram(escaped, "quelmont"));
    const XScreenSaverPrograms twice = ParseXScreenSaverPrograms("programs: maze\\n\nXScreenSaver.programs: quelmont -root\\n\n");
    EXPECT_EQ(twice.begin, 17u);
    EXPECT_TRUE(ListsProgram(twice, "quelmont"));
    EXPECT_FALSE(ListsProgram(twice, "maze"));
    EXPECT_TRUE(ListsProgram(ParseXScreenSaverPrograms("*programs: GL: \"Clock\" /usr/bin/quelmont -root\n"), "quelmont"));
}

TEST(XScreenSaverPrograms, AppendingKeepsEveryByteAndEveryEntry) {
    const XScreenSaverPrograms list = ParseXScreenSaverPrograms(kUserFile);
    const std::string added = AppendProgram(kUserFile, list, "  GL: quelmont -root  ");
    // The existing text is untouched; the old last entry only gains its continuation.
    EXPECT_EQ(added.substr(0, list.end), kUserFile.substr(0, list.end));
    EXPECT_EQ(added.substr(list.end), "\\\n  GL: quelmont -root  \\n" + kUserFile.substr(list.end));
    const XScreenSaverPrograms after = ParseXScreenSaverPrograms(added);
    ASSERT_EQ(after.programs.size(), 5u);
    EXPECT_EQ(after.programs[4].visual, "GL");
    EXPECT_EQ(after.programs[4].command, "quelmont -root");
    EXPECT_EQ(after.programs[3].command, "/usr/lib/xscreensaver/xmatrix -root");
}

TEST(XScreenSaverPrograms, AppendingStartsAnEntryOfItsOwnInEveryShapeOfList) {
    struct Case {
        const char* file;
        size_t entries;  // before the addition
    };
    for (const Case& c : {Case{"programs:\n", 0}, Case{"programs:", 0}, Case{"programs: maze -root\nmode: one\n", 1},
                          Case{"programs: maze -root \\n\\\n", 1}, Case{"programs: \\\n\tmaze -root\\n\\\n\tbsod\\\n", 2},
                          Case{"programs: maze\\n\\\n", 1}, Case{"a: b\nprograms: \\\n", 0},
                          // Cut off after a backslash (found by fuzzing).
                          Case{"programs: maze\\", 1}, Case{"programs:\t\\", 0}}) {
        const XScreenSaverPrograms list = ParseXScreenSaverPrograms(c.file);
        ASSERT_TRUE(list.found) << c.file;
        EXPECT_EQ(list.programs.size(), c.entries) << c.file;
        const std::string added = AppendProgram(c.file, list, "quelmont -root");
        EXPECT_TRUE(added.starts_with(std::string(c.file).substr(0, list.end))) << added;
        const XScreenSaverPrograms after = ParseXScreenSaverPrograms(added);
        ASSERT_EQ(after.programs.size(), c.entries + 1) << added;
        EXPECT_EQ(after.programs.back().command, "quelmont -root") << added;
        EXPECT_TRUE(after.closed) << added;
        EXPECT_EQ(added.find("mode: one"), std::string(c.file).find("mode: one") == std::string::npos
                                               ? std::string::npos
                                               : added.size() - 10)
            << added;
    }
}
