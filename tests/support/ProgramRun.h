#pragma once
// Runs the quelmont program as a user starts it: offscreen, in its own working folder (where a
// "Media" folder overrides the archive), with a trace file and a private settings folder.

#include <chrono>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/TempDir.h"

struct ProgramRun {
    int exitCode = -1;  // -1: ended by a signal or killed after the time limit
    int signal = 0;     // the signal that ended it, 0 when it exited or hung
    std::string output;  // stdout
    std::string errors;  // stderr (sanitizer reports land here)
    std::string trace;
};

// Starts the program in `dir`; stdout and stderr go to files there. 0 when it cannot start.
// `environment` adds to (or overrides) the standard variables.
inline pid_t StartProgram(const TempDir& dir, std::vector<std::string> args,
                          const std::vector<std::string>& environment = {}) {
    const std::string program = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";
    const std::string out = dir.path() + "/stdout.txt";
    const std::string err = dir.path() + "/stderr.txt";
    const std::vector<std::string> standard = {"QUELMONT_TRACE=" + dir.path() + "/t.log", "XDG_CONFIG_HOME=" + dir.path(),
                                               "SDL_VIDEODRIVER=offscreen", "ASAN_OPTIONS=detect_leaks=0", "HOME=" + dir.path(),
                                               "PATH=/usr/bin:/bin", "ALSOFT_DRIVERS=null"};
    return StartChild(program, std::move(args), WithVariables(standard, environment), dir.path(), out, err);
}

// Waits for a started program (killed after `limit`) and collects what it wrote.
inline ProgramRun FinishProgram(const TempDir& dir, pid_t pid, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    ProgramRun run;
    const int status = pid != 0 ? WaitForStatus(pid, limit) : -1;
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (status != -1 && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    run.output = ReadFile(dir.path() + "/stdout.txt");
    run.errors = ReadFile(dir.path() + "/stderr.txt");
    run.trace = ReadFile(dir.path() + "/t.log");
    return run;
}

inline ProgramRun RunProgram(const TempDir& dir, std::vector<std::string> args,
                             const std::vector<std::string>& environment = {}) {
    return FinishProgram(dir, StartProgram(dir, std::move(args), environment));
}
