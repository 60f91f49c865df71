#pragma once
// Runs the quelmont program offscreen, as the program tests start it.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/TempDir.h"

struct ProgramRun {
    int exitCode = -1;
    std::string output;
    std::string trace;
};

// Runs quelmont offscreen in `dir` (where a "Media" folder overrides the archive) with a trace file
// and a private settings folder.
inline ProgramRun RunProgram(const TempDir& dir, std::vector<std::string> args) {
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
    posix_spawn_file_actions_addchdir_np(&actions, dir.path().c_str());
    pid_t pid = 0;
    ProgramRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        run.exitCode = WaitForExit(pid, std::chrono::seconds(60));
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = ReadFile(out);
    run.trace = ReadFile(dir.path() + "/t.log");
    return run;
}

