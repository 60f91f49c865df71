#pragma once
// Waiting for a child process with a limit: a child that hangs must fail its test, not stall
// the whole run until CI's own limit.

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

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
