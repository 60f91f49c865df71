// The full room on the recording device (no GPU): the engine's CPU time per frame (the clock's
// Update and the whole frame) and the heap allocations of a steady-state frame, which should be
// none. The media come from the archive linked into this program, as in the saver.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "AllocationCounter.h"
#include "clock/ClockApplication.h"
#include "platform/sys/Clock.h"
#include "shell/FakeDirect3D.h"
#include "support/FakeSystem.h"
#include "support/FakeWindowSystem.h"

namespace {

constexpr int64_t kFrameMs = 16;

void BM_ClockRoomFrame(benchmark::State& state) {
    // No loose Media folder and no user settings: the archive and the defaults.
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "quelmont-bench-clock";
    std::filesystem::create_directories(work);
    std::filesystem::current_path(work);
    setenv("XDG_CONFIG_HOME", work.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    sys::TestClock clock(100000);
    sys::ScopedClock useClock(clock);
    FakeSystem system;
    system.localTime.hour = 10;
    system.localTime.minute = 10;
    FakeWindowSystem windows;
    ScopedFakeDirect3D direct3d;
    {
        ClockApplication app;
        if (!app.Create(nullptr, RunMode::Saver, 0)) {
            state.SkipWithError("start-up failed");
            return;
        }
        direct3d.machine->lastDevice->SetLogging(false);
        // Warm up past the first flash, so the storm's and the sorter's storage is in place.
        for (int i = 0; i < 600; ++i) {
            clock.AdvanceMs(kFrameMs);
            app.Update();
            app.RenderFrame();
        }
        long allocations = 0;
        int64_t frames = 0, framesAllocating = 0, pathChanges = 0;
        float pathTime = app.CameraPaths().pathTime();
        for (auto _ : state) {
            clock.AdvanceMs(kFrameMs);
            const long before = AllocationCount();
            app.Update();
            app.RenderFrame();
            const long made = AllocationCount() - before;
            allocations += made;
            framesAllocating += made > 0 ? 1 : 0;
            pathChanges += app.CameraPaths().pathTime() < pathTime ? 1 : 0;
            pathTime = app.CameraPaths().pathTime();
            ++frames;
        }
        state.counters["allocations_per_frame"] = static_cast<double>(allocations) / static_cast<double>(frames);
        // A new camera path is loaded from its file when one ends: the only frames that may allocate.
        state.counters["frames_allocating"] = static_cast<double>(framesAllocating);
        state.counters["path_changes"] = static_cast<double>(pathChanges);
        app.Shutdown();
    }
    gfx::SetDirect3DFactory(nullptr);
}
BENCHMARK(BM_ClockRoomFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
