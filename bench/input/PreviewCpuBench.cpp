// CPU used by a running preview (`quelmont /p ID` in a settings window) on a private X server.
// The preview only waits for messages and paints its picture, so it should use almost none
// (target: under 2 % of one core).

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/x11/VirtualDisplay.h"

extern char** environ;

namespace {

// User plus system CPU time of a process, in clock ticks.
long CpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    long ticks = 0;
    for (int i = 1; i <= 15 && stat >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stol(field);
    return ticks;
}

void PreviewCpu(benchmark::State& state) {
    x11test::VirtualDisplay& display = x11test::SharedDisplay();
    if (!display.Started()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    const uint64_t parent = display.CreateWindow(0, 0, 152, 112, 0);
    std::string program = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";
    std::string p = "/p", id = std::to_string(parent);
    char* argv[] = {program.data(), p.data(), id.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        state.SkipWithError("cannot start quelmont");
        return;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // past start-up and the first paint
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    double percent = 0.0;
    for (auto _ : state) {
        const long before = CpuTicks(pid);
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        percent = 100.0 * static_cast<double>(CpuTicks(pid) - before) / ticksPerSecond / seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["cpu_percent"] = percent;
    kill(pid, SIGTERM);
    WaitForExit(pid, std::chrono::seconds(10));
    display.DestroyWindow(parent);
}

}  // namespace

BENCHMARK(PreviewCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
