// The program as a user starts it.

#include <gtest/gtest.h>

#include "support/Files.h"
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string output;
    std::string trace;
};

// Runs quelmont offscreen with a trace file and a private settings folder.
ProgramRun RunProgram(const TempDir& dir, std::vector<std::string> args) {
    const std::string program = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";
    const std::string out = dir.path() + "/stdout.txt";
    std::vector<std::string> env = {"QUELMONT_TRACE=" + dir.path() + "/t.log", "XDG_CONFIG_HOME=" + dir.path(),
                                    "SDL_VIDEODRIVER=offscreen", "ASAN_OPTIONS=detect_leaks=0", "HOME=" + dir.path(),
                                    "PATH=/usr/bin:/bin"};
    std::vector<char*> envp, argv;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), program);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ProgramRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = ReadFile(out);
    run.trace = ReadFile(dir.path() + "/t.log");
    return run;
}

}  // namespace

TEST(Program, ChangePasswordExitsWithZeroAfterTheStartLines) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"/a", "5"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.trace.starts_with("\n>>Log started ")) << run.trace;
    EXPECT_NE(run.trace.find("DX version ok\nRunning in mode: 4\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Failed creating Saver Windows\n"), std::string::npos);
}

TEST(Program, SaverOpensItsWindowAndStopsWhereTheDeviceIsMissing) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"/s"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.trace.find("Running in mode: 0\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Register class return: "), std::string::npos) << run.trace;
}

TEST(Program, HelpListsEveryOption) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"/s", "/t", "/p ID", "/c", "/a ID", "-root", "-window-id", "--record", "--seconds",
                               "--size", "--fps", "--time", "--seed", "--help"})
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
}
