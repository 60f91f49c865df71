#pragma once
// Starting a child process and waiting for it with a limit: a child that hangs must fail its
// test, not stall the whole run until CI's own limit. The same calls on every platform; only
// Linux callers look at wait statuses (signals).

#include <chrono>
#include <string>
#include <vector>

#ifdef _WIN32
// A process handle. The Windows calls live in ChildProcessWin32.cpp (tessel_test_support), away
// from the names <windows.h> defines as macros.
using ChildProcessId = void*;
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;
using ChildProcessId = pid_t;
#endif

// `environment` with each of `added` ("NAME=value") put in, replacing a variable of that name.
inline std::vector<std::string> WithVariables(std::vector<std::string> environment,
                                              const std::vector<std::string>& added) {
    for (const std::string& variable : added) {
        const std::string name = variable.substr(0, variable.find('=') + 1);
        std::erase_if(environment, [&](const std::string& e) { return e.starts_with(name); });
        environment.push_back(variable);
    }
    return environment;
}

#ifdef _WIN32

// Starts `program` with `args`, exactly `environment`, in `folder`; its standard output and
// error go to the files named. 0 when it cannot start.
ChildProcessId StartChild(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment, const std::string& folder,
                          const std::string& outputFile, const std::string& errorFile);
// The child's exit code once it ended within `limit`; otherwise it is killed and -1 comes back,
// as for a child that crashed.
int WaitForExit(ChildProcessId child, std::chrono::milliseconds limit);
// This process's environment, to pass on with changes.
std::vector<std::string> CurrentEnvironment();

#else

inline ChildProcessId StartChild(const std::string& program, std::vector<std::string> args,
                                 std::vector<std::string> environment, const std::string& folder,
                                 const std::string& outputFile, const std::string& errorFile) {
    std::vector<char*> envp, argv;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), program);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

inline std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    return environment;
}

// The child's wait status once it ended within `limit`; otherwise it is killed and -1 comes back.
inline int WaitForStatus(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0) return -1;
        if (std::chrono::steady_clock::now() > end) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

// The child's exit code once it ended within `limit`; otherwise it is killed and -1 comes back,
// as for a child ended by a signal.
inline int WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const int status = WaitForStatus(pid, limit);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif
