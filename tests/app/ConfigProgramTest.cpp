// `quelmont /c` as a desktop's launcher runs it: the dialog on a private X server answering Enter
// and Escape, and a clear refusal without a display.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/Files.h"
#include "support/Shell.h"
#include "support/SkipOrFail.h"
#include "support/TempDir.h"
#include "support/x11/VirtualDisplay.h"

using testing_support::RunShell;
using testing_support::ShellQuote;

namespace {

const std::string kProgram = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";

// The program in a clean environment with its settings under `dir`, standard error joined to
// standard output.
std::string Command(const TempDir& dir, const std::string& display, const std::string& args) {
    return "env -i PATH=/usr/bin:/bin HOME=" + ShellQuote(dir.path()) + " XDG_CONFIG_HOME=" + ShellQuote(dir.path()) +
           " GSETTINGS_BACKEND=memory ASAN_OPTIONS=detect_leaks=0" + (display.empty() ? "" : " DISPLAY=" + display) +
           " " + ShellQuote(kProgram) + " " + args + " 2>&1";
}

// Starts the dialog, waits up to 20 s for its window, runs the shell command `action` ($pid is
// the program) and prints "exit=N" once the program ended (it is killed after another 20 s).
std::string ActOnDialog(const TempDir& dir, const std::string& display, const std::string& action) {
    return "{ " + Command(dir, display, "/c") + " & pid=$!; export DISPLAY=" + display +
           "; for i in $(seq 200); do xdotool search --name 'Quelmont Screensaver Configuration' >/dev/null 2>&1 && "
           "break; sleep 0.1; done; sleep 0.5; " + action +
           "; for i in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; kill -9 $pid 2>/dev/null; "
           "wait $pid; echo exit=$?; }";
}

std::string PressKey(const std::string& key) { return "xdotool mousemove 320 240 key " + key; }

}  // namespace

TEST(ConfigProgram, WithoutADisplayItSaysSoExitsWithOneAndLeavesTheSettingsAlone) {
    TempDir dir;
    const auto [status, output] = RunShell(Command(dir, "", "/c"));
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("The configuration dialog needs a display"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/quelmont"));
}

TEST(ConfigProgram, EnterSavesTheSettingsAndEscapeSavesNothing) {
    x11test::VirtualDisplay& display = x11test::SharedDisplay();
    if (!display.Started() || !testing_support::HaveTool("xdotool"))
        QUELMONT_SKIP_OR_FAIL("no Xvfb or xdotool on this machine");
    const std::string settings = "/quelmont/settings.ini";

    TempDir cancelled;
    auto [status, output] = RunShell(ActOnDialog(cancelled, display.Name(), PressKey("Escape")));
    EXPECT_NE(output.find("exit=1"), std::string::npos) << output;
    EXPECT_EQ(ReadFile(cancelled.path() + settings).find("Volume"), std::string::npos);

    TempDir accepted;
    std::tie(status, output) = RunShell(ActOnDialog(accepted, display.Name(), PressKey("Return")));
    EXPECT_NE(output.find("exit=1"), std::string::npos) << output;
    const std::string saved = ReadFile(accepted.path() + settings);
    EXPECT_NE(saved.find("Volume=dword:00000032"), std::string::npos) << saved;
    EXPECT_NE(saved.find("UseDesktop=dword:00000001"), std::string::npos) << saved;
}

TEST(ConfigProgram, SigtermClosesTheDialogWithoutSaving) {
    x11test::VirtualDisplay& display = x11test::SharedDisplay();
    if (!display.Started() || !testing_support::HaveTool("xdotool"))
        QUELMONT_SKIP_OR_FAIL("no Xvfb or xdotool on this machine");
    TempDir dir;
    const auto [status, output] = RunShell(ActOnDialog(dir, display.Name(), "kill -TERM $pid"));
    EXPECT_NE(output.find("exit=1"), std::string::npos) << output;
    EXPECT_EQ(ReadFile(dir.path() + "/quelmont/settings.ini").find("Volume"), std::string::npos);
}
