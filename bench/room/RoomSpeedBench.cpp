// The saver as a user starts it (`quelmont /s`, default settings) on a private 1024 x 768 X server
// with Mesa's software renderer: wall time from process start to the startup picture and to the
// end of its fade, and frames per second of the room. Times come from the trace lines, read as
// they are written.
//
// Targets on 2 cores: startup picture within 0.25 s, fade ended within 0.6 s, 30 frames a second.
// The frame rate depends on the view, and each run sees one camera path, picked at random: run it
// a few times (--benchmark_repetitions=5).

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/x11/VirtualDisplay.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Follows a growing trace file line by line.
class TraceFollower {
public:
    explicit TraceFollower(const std::string& path) : path_(path) {}

    // Calls `line` for each complete line written since the last call.
    template <typename F>
    void Poll(F&& line) {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset_));
        std::string text;
        while (std::getline(in, text)) {
            if (in.eof()) break;  // a line still being written
            offset_ += text.size() + 1;
            line(text);
        }
    }

private:
    std::string path_;
    size_t offset_ = 0;
};

void RoomSpeed(benchmark::State& state) {
    x11test::VirtualDisplay display(1024, 768);
    if (!display.Started()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    const std::filesystem::path home = std::filesystem::temp_directory_path() / ("bench_room." + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    const std::string trace = (home / "trace.log").string();
    setenv("HOME", home.c_str(), 1);  // default settings
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("QUELMONT_TRACE", trace.c_str(), 1);

    double pictureMs = 0, fadeEndMs = 0, framesPerSecond = 0;
    for (auto _ : state) {
        std::filesystem::remove(trace);
        std::string program = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";
        std::string mode = "/s";
        char* argv[] = {program.data(), mode.data(), nullptr};
        const auto start = Clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start quelmont");
            return;
        }
        TraceFollower follower(trace);
        // The startup picture is presented just before Scene.props is read; "Application
        // created" follows it at once.
        pictureMs = fadeEndMs = 0;
        int frames = 0;
        Clock::time_point countFrom{};
        const double warmUpMs = 2000, countMs = 10000;
        while (MsSince(start) < 30000) {
            follower.Poll([&](const std::string& line) {
                const double now = MsSince(start);
                if (line == "Application created" && pictureMs == 0) pictureMs = now;
                if (line == "Creating successfull" && fadeEndMs == 0) fadeEndMs = now;
                if (line == "present ok" && fadeEndMs > 0 && now > fadeEndMs + warmUpMs) {
                    if (frames++ == 0) countFrom = Clock::now();
                }
            });
            if (frames > 0 && MsSince(countFrom) >= countMs) break;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        framesPerSecond = frames > 1 ? (frames - 1) / (MsSince(countFrom) / 1000) : 0;
        kill(pid, SIGTERM);
        WaitForExit(pid, std::chrono::seconds(10));
        state.SetIterationTime(MsSince(start) / 1000);
        if (fadeEndMs == 0) state.SkipWithError("the saver did not start; its trace is kept in the bench_room folder");
    }
    state.counters["picture_ms"] = pictureMs;
    state.counters["fade_end_ms"] = fadeEndMs;
    state.counters["fps"] = framesPerSecond;
    if (fadeEndMs > 0) std::filesystem::remove_all(home);
}

}  // namespace

BENCHMARK(RoomSpeed)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
