// The tests' child processes: what goes in arrives intact, what comes out is caught, and a child
// that hangs or crashes ends its test promptly.
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/Files.h"
#include "support/TempDir.h"

namespace {

class ChildProcessTest : public testing::Test {
protected:
    ChildProcessId Start(const std::vector<std::string>& args) {
        return StartChild(CHILD_HELPER, args, WithVariables(CurrentEnvironment(), {"CHILD_VALUE=a b=c"}), dir.path(),
                          dir.path() + "/out.txt", dir.path() + "/err.txt");
    }

    TempDir dir;
};

TEST_F(ChildProcessTest, ArgumentsEnvironmentAndFolderArriveAndOutputAndExitCodeComeBack) {
    const std::vector<std::string> args = {"echo", "7", "plain", "two words", "", "quote\"inside", "back\\slash\\",
                                           "slash\\\"quote", "tab\there"};
    const ChildProcessId child = Start(args);
    ASSERT_NE(child, ChildProcessId{}) << CHILD_HELPER;
    EXPECT_EQ(WaitForExit(child, std::chrono::seconds(30)), 7);
    std::string expected = std::filesystem::path(dir.path()).filename().string() + "\n";
    for (size_t i = 2; i < args.size(); ++i) expected += args[i] + "\n";
    std::string output = ReadFile(dir.path() + "/out.txt");
    std::erase(output, '\r');  // Windows ends lines with CR LF
    EXPECT_EQ(output, expected);
    EXPECT_EQ(ReadFile(dir.path() + "/err.txt"), "a b=c");
}

TEST_F(ChildProcessTest, AHangingChildIsKilledAtTheLimitAndACrashIsNoExit) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForExit(Start({"hang"}), std::chrono::milliseconds(500)), -1);
    EXPECT_EQ(WaitForExit(Start({"crash"}), std::chrono::seconds(30)), -1);
    // Neither waited for anyone: not the hanging child past its limit, nor a debugger.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(ChildProcessTest, AProgramThatIsNotThereDoesNotStart) {
    EXPECT_EQ(StartChild(dir.path() + "/missing", {}, CurrentEnvironment(), dir.path(), dir.path() + "/out.txt",
                         dir.path() + "/err.txt"),
              ChildProcessId{});
}

TEST(Environment, AddedVariablesReplaceThoseOfTheSameName) {
    EXPECT_EQ(WithVariables({"A=1", "AB=2", "B=3"}, {"A=4", "C=5"}),
              (std::vector<std::string>{"AB=2", "B=3", "A=4", "C=5"}));
}

}  // namespace
