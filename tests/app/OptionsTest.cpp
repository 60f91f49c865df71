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
                             "23:59:07", "--seed", "9", "--path", "c3.cam"});
    EXPECT_TRUE(o.error.empty());
    EXPECT_EQ(o.record.directory, "out");
    EXPECT_EQ(o.record.seconds, 3);
    EXPECT_EQ(o.record.width, 640);
    EXPECT_EQ(o.record.height, 480);
    EXPECT_EQ(o.record.fps, 25);
    EXPECT_EQ(o.record.timeOfDaySeconds, 23 * 3600 + 59 * 60 + 7);
    EXPECT_EQ(o.record.seed, 9u);
    EXPECT_EQ(o.record.path, "c3.cam");
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
                                                                  {"--seed", "-1"},
                                                                  {"--path", ""}})
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

TEST(Options, HostWindowIdsAreReadInHexOrDecimal) {
    uint64_t id = 0;
    EXPECT_TRUE(ParseWindowId("0x1e00007", id));
    EXPECT_EQ(id, 0x1e00007u);
    EXPECT_TRUE(ParseWindowId("0X1F", id));
    EXPECT_EQ(id, 0x1fu);
    EXPECT_TRUE(ParseWindowId("31457287", id));
    EXPECT_EQ(id, 31457287u);
    for (const char* bad : {"", "0", "0x", "0x0", "12ab", "-5", "0xfffffffffffffffff", " 12"})
        EXPECT_FALSE(ParseWindowId(bad, id)) << bad;

    EXPECT_EQ(Parse({"-window-id", "0x2a"}).windowId, 0x2au);
    EXPECT_EQ(Parse({"--window-id", "42"}).windowId, 42u);
    EXPECT_FALSE(Parse({"-window-id", "nope"}).error.empty());
    EXPECT_FALSE(Parse({"-window-id"}).error.empty());
    EXPECT_TRUE(Parse({"-root"}).root);
    EXPECT_TRUE(Parse({"--root"}).root);
}

TEST(Options, TheHostWindowComesFromTheLineThenTheHostsVariableThenTheRoot) {
    const Options both = Parse({"-root", "-window-id", "0x10"});
    EXPECT_EQ(ChooseHostWindow(both, "0x20").window, 0x10u);
    const HostChoice fromHost = ChooseHostWindow(Parse({"-root"}), "0x20");
    EXPECT_EQ(fromHost.window, 0x20u);
    EXPECT_FALSE(fromHost.root);
    EXPECT_TRUE(ChooseHostWindow(Parse({"-root"}), nullptr).root);
    EXPECT_TRUE(ChooseHostWindow(Parse({"-root"}), "").root);
    const HostChoice none = ChooseHostWindow(Parse({"/s"}), nullptr);
    EXPECT_EQ(none.window, 0u);
    EXPECT_FALSE(none.root);
    EXPECT_FALSE(ChooseHostWindow(Parse({"-root"}), "garbage").error.empty());
}

TEST(Options, SetTakesAnySettingWithinItsRange) {
    const Options o = Parse({"--record", "out", "--set", "ShowFps=1", "--set", "gamma=-100", "--set", "TimeStyle=0", "--set", "Width=640"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    using Setting = std::pair<std::string, int32_t>;
    EXPECT_EQ(o.record.settings,
              (std::vector<Setting>{{"ShowFps", 1}, {"Gamma", -100}, {"TimeStyle", 0}, {"Width", 640}}));
    for (const char* bad : {"ShowFps=2", "Gamma=101", "Volume=-1", "Nothing=1", "ShowFps", "ShowFps=", "Gamma=1x"}) {
        const Options wrong = Parse({"--set", bad});
        EXPECT_NE(wrong.error.find(bad), std::string::npos) << bad << ": " << wrong.error;
    }
    EXPECT_NE(Parse({"--set", "Volume=300"}).error.find("Volume takes 0 to 100"), std::string::npos);
    // Every number has a range, the mode's too.
    for (const char* bad : {"Width=-5", "Height=0", "Depth=64", "Adapter=-1", "Width=16385"})
        EXPECT_FALSE(Parse({"--record", "out", "--set", bad}).error.empty()) << bad;
}

TEST(Options, RecordingOptionsNeedARecording) {
    for (const auto& args : std::vector<std::vector<const char*>>{{"--set", "ShowFps=1"},
                                                                  {"/s", "--seed", "3"},
                                                                  {"--soak"},
                                                                  {"--seconds", "2", "/c"},
                                                                  {"-root", "--size", "64x48"}}) {
        const Options o = Parse(args);
        EXPECT_NE(o.error.find("needs --record"), std::string::npos) << args[0] << ": " << o.error;
    }
    EXPECT_TRUE(Parse({"--set", "ShowFps=1", "--record", "out"}).error.empty());
    EXPECT_TRUE(Parse({"/s", "-window-id", "0x2a"}).error.empty());
}
