// SIGTERM at any moment from start-up into the frame loop: the saver shuts down through its
// steps and ends with its exit code; a second signal ends it at once. QUELMONT_SIGNAL_RUNS sets
// the number of runs (scripts/stress runs 100).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <random>
#include <thread>

#include "reliability/ProgramChecks.h"

namespace {

int SignalRuns() {
    const char* text = std::getenv("QUELMONT_SIGNAL_RUNS");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 3;
}

// The full-screen saver offscreen, as a host starts it.
pid_t StartSaver(const TempDir& dir) { return StartProgram(dir, {"/s"}, SanitizerEnvironment()); }

}  // namespace

TEST(ExitSignals, TermAtAnyMomentShutsDownCleanly) {
    std::mt19937 random(18);
    const int runs = SignalRuns();
    for (int run = 0; run < runs; ++run) {
        TempDir dir;
        const pid_t pid = StartSaver(dir);
        ASSERT_NE(pid, 0);
        // Start-up (with its picture) to well into the frame loop.
        const int delayMs = static_cast<int>(random() % 3000);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        kill(pid, SIGTERM);
        const ProgramRun result = FinishProgram(dir, pid, std::chrono::seconds(30));
        std::printf("signal run %d: SIGTERM after %d ms -> %d\n", run, delayMs,
                    result.signal ? -result.signal : result.exitCode);
        // Before main installs its handler (while the libraries load) the signal's default action
        // ends the process: nothing has started, so there is nothing to shut down.
        if (result.signal == SIGTERM && result.trace.empty()) continue;
        EXPECT_TRUE(EndedCleanly(result, {0, 1})) << "after " << delayMs << " ms";
        // The run's own trace ends with its shutdown; a signal before the trace opened leaves none.
        if (!result.trace.empty()) {
            const size_t closed = result.trace.rfind("<<Log closed");
            EXPECT_TRUE(closed != std::string::npos && result.trace.find_first_not_of("\n", closed + 12) == std::string::npos)
                << "after " << delayMs << " ms:\n" << result.trace;
        }
    }
}

TEST(ExitSignals, SecondSignalEndsAtOnce) {
    TempDir dir;
    const pid_t pid = StartSaver(dir);
    ASSERT_NE(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(pid, SIGTERM);
    kill(pid, SIGTERM);
    // Either the first was already taken and the run shut down, or the second ended it by the
    // signal's default action; neither waits for the saver.
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 1000 && done == 0; ++i) {
        done = waitpid(pid, &status, WNOHANG);
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "still running 10 s after two signals";
    }
    if (WIFSIGNALED(status)) EXPECT_EQ(WTERMSIG(status), SIGTERM);
    else EXPECT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1) << WEXITSTATUS(status);
}
