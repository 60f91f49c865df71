// The saver as a user starts it (`quelmont /s`, default settings) on a private 1024 x 768 X server
// with Mesa's software renderer: wall time from process start to the startup picture and to the
// end of its fade, and frames per second of the room. Times come from the trace lines, read as
// they are written.
//
// Targets on 2 cores: startup picture within 0.25 s, fade ended within 0.6 s, 30 frames a second.
// The frame rate depends on the view: QUELMONT_BENCH_PATH (e.g. c7.cam) starts every run on the
// same camera path; without it each run starts on one picked at random.
//
// The saver runs five times as it is and five times with QUELMONT_GL_FULL_WORK=1 (the device
// does all the work it is asked, even where that cannot change a pixel), taking turns so that a
// busy machine slows both alike; the counters are the medians (QUELMONT_BENCH_ROUNDS changes the
// count). Beside the frame rate, the saver's processor time per frame (all threads, the
// rasterizer's included) tells the work apart from the waiting on a machine others share.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
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

struct SaverRun {
    double pictureMs = 0, fadeEndMs = 0, framesPerSecond = 0;
    double cpuMsPerFrame = 0;  // the saver's processor time, all its threads, per counted frame
};

// Processor time of process `pid` so far (user and system, all threads), in milliseconds.
double ProcessCpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t name = text.rfind(')');  // the command name may hold blanks
    if (name == std::string::npos) return 0;
    std::istringstream fields(text.substr(name + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14) ticks += std::stod(field);  // utime, stime
    }
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// One run of `quelmont /s` (with `--path` when given), until ten seconds of frames were counted
// two seconds after the fade ended. A zero fade end means the saver did not start.
SaverRun RunSaver(const std::string& trace, const std::string& path) {
    SaverRun run;
    std::filesystem::remove(trace);
    std::string program = std::string(QUELMONT_BINARY_DIR) + "/src/app/quelmont";
    std::string mode = "/s", pathOption = "--path", pathName = path;
    std::vector<char*> argv = {program.data(), mode.data()};
    if (!path.empty()) argv.insert(argv.end(), {pathOption.data(), pathName.data()});
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return run;
    TraceFollower follower(trace);
    // The startup picture is presented just before Scene.props is read; "Application
    // created" follows it at once.
    int frames = 0;
    Clock::time_point countFrom{};
    double cpuFrom = 0;
    const double warmUpMs = 2000, countMs = 10000;
    while (MsSince(start) < 30000) {
        follower.Poll([&](const std::string& line) {
            const double now = MsSince(start);
            if (line == "Application created" && run.pictureMs == 0) run.pictureMs = now;
            if (line == "Creating successfull" && run.fadeEndMs == 0) run.fadeEndMs = now;
            if (line == "present ok" && run.fadeEndMs > 0 && now > run.fadeEndMs + warmUpMs) {
                if (frames++ == 0) {
                    countFrom = Clock::now();
                    cpuFrom = ProcessCpuMs(pid);
                }
            }
        });
        if (frames > 0 && MsSince(countFrom) >= countMs) break;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    run.framesPerSecond = frames > 1 ? (frames - 1) / (MsSince(countFrom) / 1000) : 0;
    run.cpuMsPerFrame = frames > 1 ? (ProcessCpuMs(pid) - cpuFrom) / (frames - 1) : 0;
    kill(pid, SIGTERM);
    WaitForExit(pid, std::chrono::seconds(10));
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
    const char* pathVariable = std::getenv("QUELMONT_BENCH_PATH");
    const std::string path = pathVariable ? pathVariable : "";
    const char* roundsVariable = std::getenv("QUELMONT_BENCH_ROUNDS");
    const int rounds = std::max(1, roundsVariable ? std::atoi(roundsVariable) : 5);

    std::vector<double> picture, fadeEnd, fps, fpsFullWork, cpu, cpuFullWork;
    bool started = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int round = 0; round < rounds && started; ++round) {
            for (const bool fullWork : {false, true}) {
                if (fullWork) setenv("QUELMONT_GL_FULL_WORK", "1", 1);
                else unsetenv("QUELMONT_GL_FULL_WORK");
                const SaverRun run = RunSaver(trace, path);
                std::printf("round %d%s: %.1f frames a second (%.2f ms a frame, %.2f ms of processor time), picture %.0f ms, "
                            "fade end %.0f ms\n",
                            round + 1, fullWork ? ", full work" : "", run.framesPerSecond,
                            run.framesPerSecond > 0 ? 1000 / run.framesPerSecond : 0.0, run.cpuMsPerFrame, run.pictureMs,
                            run.fadeEndMs);
                std::fflush(stdout);
                started = started && run.fadeEndMs > 0;
                (fullWork ? fpsFullWork : fps).push_back(run.framesPerSecond);
                (fullWork ? cpuFullWork : cpu).push_back(run.cpuMsPerFrame);
                if (!fullWork) {
                    picture.push_back(run.pictureMs);
                    fadeEnd.push_back(run.fadeEndMs);
                }
            }
        }
        unsetenv("QUELMONT_GL_FULL_WORK");
        state.SetIterationTime(MsSince(start) / 1000);
        if (!started) state.SkipWithError("the saver did not start; its trace is kept in the bench_room folder");
    }
    state.counters["picture_ms"] = Median(picture);
    state.counters["fade_end_ms"] = Median(fadeEnd);
    state.counters["fps"] = Median(fps);
    state.counters["fps_full_work"] = Median(fpsFullWork);
    state.counters["frame_ms"] = Median(fps) > 0 ? 1000 / Median(fps) : 0;
    state.counters["frame_ms_full_work"] = Median(fpsFullWork) > 0 ? 1000 / Median(fpsFullWork) : 0;
    state.counters["cpu_ms_per_frame"] = Median(cpu);
    state.counters["cpu_ms_per_frame_full_work"] = Median(cpuFullWork);
    if (started) std::filesystem::remove_all(home);
}

}  // namespace

BENCHMARK(RoomSpeed)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
