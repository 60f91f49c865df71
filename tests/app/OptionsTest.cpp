#include "app/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
Options Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quelmont");
    return ParseOptions(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(Options, RecordingValuesAreReadAndChecked) {
    const Options o = Parse({"--record", "out", "--seconds", "3", "--size", "640x480", "--fps", "25", "--time",
                             "23:59:07", "--seed", "9"});
    EXPECT_TRUE(o.error.empty());
    EXPECT_EQ(o.record.directory, "out");
    EXPECT_EQ(o.record.seconds, 3);
    EXPECT_EQ(o.record.width, 640);
    EXPECT_EQ(o.record.height, 480);
    EXPECT_EQ(o.record.fps, 25);
    EXPECT_EQ(o.record.timeOfDaySeconds, 23 * 3600 + 59 * 60 + 7);
    EXPECT_EQ(o.record.seed, 9u);
}

TEST(Options, BadValuesAreErrorsNotCrashes) {
    for (const auto& args : std::vector<std::vector<const char*>>{{"--seconds", "0"},
                                                                  {"--seconds", "x"},
                                                                  {"--size", "640"},
                                                                  {"--size", "640x"},
                                                                  {"--size", "99999x10"},
                                                                  {"--time", "24:00:00"},
                                                                  {"--time", "1:2:3"},
                                                                  {"--fps"},
                                                                  {"--seed", "-1"}})
        EXPECT_FALSE(Parse(args).error.empty()) << args[0];
}

TEST(Options, ScreensaverSwitchesAreLeftToTheSaver) {
    const Options o = Parse({"/p", "1234", "-root", "-window-id", "0x12"});
    EXPECT_TRUE(o.error.empty());
    EXPECT_FALSE(o.help);
    EXPECT_TRUE(o.record.directory.empty());
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
}

TEST(Options, CommandLineQuotesTheProgramAndBlankArguments) {
    const char* args[] = {"/opt/my saver/quelmont", "/p", "with blank"};
    EXPECT_EQ(BuildCommandLine(3, args), "\"/opt/my saver/quelmont\" /p \"with blank\"");
}
