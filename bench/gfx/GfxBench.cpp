// Offscreen 1024 x 768 frames through our Direct3D device and through a plain OpenGL program
// doing the same work, measured in the same process: clear and present alone (the floor), and
// 50,000 lit triangles with two texture stages in 100 batches. The two run in alternating blocks
// of frames, so a busy machine slows both alike and their ratio is read from one run. Each case
// runs with two frames in flight (fence sync, as presenting does) and with glFinish per frame.
// Reports per frame: median time and range, the ratio, the main thread's CPU time, page faults
// (getrusage) and GL calls; and the GL calls of a draw whose state did not change.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "DeviceScene.h"
#include "GlCallCounter.h"
#include "PlainGlScene.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/gl/Gl.h"
#include "platform/gfx/HiddenWindow.h"
#include "scene/DeviceStateCache.h"

using namespace gfx;

namespace {

constexpr uint32_t kWidth = 1024;
constexpr uint32_t kHeight = 768;

struct Renderers {
    std::unique_ptr<HiddenWindow> window;
    Ref<Direct3D> d3d;
    Ref<Device> device;
    void* deviceContext = nullptr;
    std::unique_ptr<bench::DeviceScene> ours;
    std::unique_ptr<bench::PlainGlScene> plain;
};

Renderers* Setup() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    auto* r = new Renderers;
    r->window = std::make_unique<HiddenWindow>(kWidth, kHeight);
    r->d3d = PlatformDirect3DCreate9(D3D_SDK_VERSION);
    if (!r->d3d || !r->window->NativeHandle()) return r;
    D3DPRESENT_PARAMETERS pp = HiddenWindowParameters(kWidth, kHeight);
    r->d3d->CreateDevice(0, D3DDEVTYPE_HAL, r->window->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp,
                         r->device);
    if (!r->device) return r;
    r->deviceContext = SDL_GL_GetCurrentContext();
    r->ours = std::make_unique<bench::DeviceScene>(*r->device, kWidth, kHeight);
    r->plain = std::make_unique<bench::PlainGlScene>(kWidth, kHeight);
    return r;
}

Renderers& Get() {
    static Renderers* renderers = Setup();
    return *renderers;
}

enum class Sync { kFence, kFinish };

struct Block {  // per frame
    double ms = 0;
    double cpuMs = 0;  // this thread's
    double faults = 0;
    double calls = 0;
};

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long Faults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Runs `frames` frames and waits for the last one; the time includes that wait.
template <typename FrameFn>
Block RunBlock(FrameFn frame, Sync sync, int frames) {
    const long faults = Faults();
    const uint64_t calls = bench::GlCalls();
    uint64_t frameCalls = 0;
    const double cpu = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
        if (sync == Sync::kFinish) glFinish();
    }
    frameCalls = bench::GlCalls() - calls - (sync == Sync::kFinish ? frames : 0);
    glFinish();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count() / frames, (ThreadCpuMs() - cpu) / frames, static_cast<double>(Faults() - faults) / frames,
            static_cast<double>(frameCalls) / frames};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct CaseResult {
    std::string name;
    std::vector<double> ours, plain, ratio, oursCpu, plainCpu, oursFaults, plainFaults, oursCalls, plainCalls;
};
std::vector<CaseResult>& Results() {
    static std::vector<CaseResult> results;
    return results;
}

// A batch drawn again with every state set again to the same values (the state cache forgets
// them, so they all reach the device).
double CallsOfUnchangedDraw(Renderers& r) {
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(r.window->NativeHandle()), static_cast<SDL_GLContext>(r.deviceContext));
    r.ours->Frame(true);
    r.device->BeginScene();
    r.ours->DrawBatch(7);
    DeviceStateCache::Get().invalidate();
    const uint64_t calls = bench::GlCalls();
    r.ours->DrawBatch(7);
    const uint64_t made = bench::GlCalls() - calls;
    r.device->EndScene();
    r.device->Present();
    glFinish();
    return static_cast<double>(made);
}

void Run(benchmark::State& state, const char* name, bool draw, Sync sync, int framesPerBlock) {
    Renderers& r = Get();
    if (!r.ours || !r.plain || !r.plain->Usable()) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    auto* window = static_cast<SDL_Window*>(r.window->NativeHandle());
    auto ours = [&] {
        SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(r.deviceContext));
        return RunBlock([&] { r.ours->Frame(draw); }, sync, framesPerBlock);
    };
    auto plain = [&] {
        r.plain->MakeCurrent();
        return RunBlock([&] { r.plain->Frame(draw); }, sync, framesPerBlock);
    };
    ours();  // shaders compiled and memory touched outside the measurement
    plain();
    DeviceStateCache::Get().resetStats();

    CaseResult result{name, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    bool oursFirst = true;
    for (auto _ : state) {
        Block a, b;
        if (oursFirst) {
            a = ours();
            b = plain();
        } else {
            b = plain();
            a = ours();
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(a.ms / 1000.0);
        result.ours.push_back(a.ms);
        result.plain.push_back(b.ms);
        result.ratio.push_back(a.ms / b.ms);
        result.oursCpu.push_back(a.cpuMs);
        result.plainCpu.push_back(b.cpuMs);
        result.oursFaults.push_back(a.faults);
        result.plainFaults.push_back(b.faults);
        result.oursCalls.push_back(a.calls);
        result.plainCalls.push_back(b.calls);
    }
    state.counters["ours_ms"] = Median(result.ours);
    state.counters["plain_ms"] = Median(result.plain);
    state.counters["ratio"] = Median(result.ratio);
    state.counters["ratio_max"] = *std::max_element(result.ratio.begin(), result.ratio.end());
    state.counters["ours_cpu_ms"] = Median(result.oursCpu);
    state.counters["plain_cpu_ms"] = Median(result.plainCpu);
    state.counters["ours_faults"] = Median(result.oursFaults);
    state.counters["plain_faults"] = Median(result.plainFaults);
    state.counters["ours_gl_calls"] = Median(result.oursCalls);
    state.counters["plain_gl_calls"] = Median(result.plainCalls);
    if (draw) {
        const DeviceStateCache::Stats& stats = DeviceStateCache::Get().stats();
        const double frames = static_cast<double>(result.ours.size() * static_cast<size_t>(framesPerBlock));
        state.counters["state_calls_requested"] = static_cast<double>(stats.requested) / frames;
        state.counters["state_calls_made"] = static_cast<double>(stats.made) / frames;
        state.counters["gl_calls_unchanged_draw"] = CallsOfUnchangedDraw(r);
    }
    Results().push_back(std::move(result));
}

// Short frames vary the most from block to block on a busy machine: they get more blocks.
constexpr int kClearFrames = 24;
constexpr int kClearBlocks = 30;
constexpr int kDrawFrames = 6;
constexpr int kDrawBlocks = 12;

void BM_ClearPresent_Fence(benchmark::State& s) { Run(s, "clear + gamma pass + present, fence sync", false, Sync::kFence, kClearFrames); }
void BM_ClearPresent_Finish(benchmark::State& s) { Run(s, "clear + gamma pass + present, glFinish", false, Sync::kFinish, kClearFrames); }
void BM_LitTwoStageTriangles50k_Fence(benchmark::State& s) { Run(s, "50,000 lit two-stage triangles, fence sync", true, Sync::kFence, kDrawFrames); }
void BM_LitTwoStageTriangles50k_Finish(benchmark::State& s) { Run(s, "50,000 lit two-stage triangles, glFinish", true, Sync::kFinish, kDrawFrames); }

BENCHMARK(BM_ClearPresent_Fence)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kClearBlocks);
BENCHMARK(BM_ClearPresent_Finish)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kClearBlocks);
BENCHMARK(BM_LitTwoStageTriangles50k_Fence)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kDrawBlocks);
BENCHMARK(BM_LitTwoStageTriangles50k_Finish)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kDrawBlocks);

void PrintTable() {
    std::printf("\n%-46s %22s %22s %18s %13s %13s %11s\n", "case (per frame, median and range)", "ours ms",
                "plain GL ms", "ratio", "main CPU ms", "page faults", "GL calls");
    for (const CaseResult& c : Results()) {
        auto range = [](const std::vector<double>& v, const char* format) {
            char text[64];
            std::snprintf(text, sizeof(text), format, Median(v), *std::min_element(v.begin(), v.end()),
                          *std::max_element(v.begin(), v.end()));
            return std::string(text);
        };
        char cpu[32], faults[32], calls[32];
        std::snprintf(cpu, sizeof(cpu), "%.1f / %.1f", Median(c.oursCpu), Median(c.plainCpu));
        std::snprintf(faults, sizeof(faults), "%.0f / %.0f", Median(c.oursFaults), Median(c.plainFaults));
        std::snprintf(calls, sizeof(calls), "%.0f / %.0f", Median(c.oursCalls), Median(c.plainCalls));
        std::printf("%-46s %22s %22s %18s %13s %13s %11s\n", c.name.c_str(), range(c.ours, "%.2f (%.2f-%.2f)").c_str(),
                    range(c.plain, "%.2f (%.2f-%.2f)").c_str(), range(c.ratio, "%.3f (%.2f-%.2f)").c_str(), cpu, faults,
                    calls);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    PrintTable();
    benchmark::Shutdown();
    return 0;
}
