// The overlay's CPU time per frame with both labels on the OpenGL device offscreen: the labels
// refreshed as the main loop refreshes them (the frame rate once a second, the time every frame:
// text, layout, move to the corner) and the overlay's draw, timed without the frame's clear and
// present; and the heap allocations each frame makes.

#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "AllocationCounter.h"
#include "common/Timing.h"
#include "overlay/TextLabel.h"
#include "overlay/WindowManager.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/gl/HiddenWindow.h"
#include "platform/sys/Clock.h"
#include "resources/RarArchive.h"
#include "scene/RenderDevice.h"
#include "shell/ClockText.h"
#include "shell/FrameRate.h"
#include "textures/TextureManager.h"

namespace {

using namespace gfx;

constexpr uint32_t kWidth = 1024;
constexpr uint32_t kHeight = 768;

// Both labels refreshed and drawn on `device`, frame after frame.
void RunOverlayFrames(benchmark::State& state, const Ref<Device>& device) {
    PublishedDevice published(*device);
    {
        TextureManager textures(device.get());
        // The fonts come from the generated media archive, as in the program.
        RarArchive archive;
        archive.Open(FileSource(EngineString(QUELMONT_BINARY_DIR "/media/media.rar")));
        const MediaFiles media = [&](const EngineString& name) { return FileSource(&archive, "Media/" + name); };
        WindowManager overlay;
        if (!overlay.LoadFont("/sylfaen.fs", media, textures) || !overlay.LoadFont("/64font.fs", media, textures) ||
            !overlay.FindFont("64font")->Styles()[0]->Charsets()[0]->Loaded()) {
            state.SkipWithError("fonts not generated");
            return;
        }
        TextLabel* frameRate = overlay.AddWindow<TextLabel>(OverlayWindow::Box{10, 10, 256, 128},
                                                            overlay.FindFont("Sylfaen"), TextElement::Attributes{}, "100");
        TextLabel* clock = overlay.AddWindow<TextLabel>(OverlayWindow::Box{200, 300, 290, 74},
                                                        overlay.FindFont("64font"), TextElement::Attributes{.size = 64},
                                                        "11");
        // The engine's timers run on a clock at a software renderer's 30 frames a second, so the
        // frame-rate label is refreshed once in 30 frames, as in the program.
        sys::TestClock clock30(1000);
        const sys::ScopedClock simulated(clock30);
        FrameRateCounter frameCounter;
        frameCounter.Start(NowMs());
        Stopwatch labelTimer;
        sys::LocalTime time{2026, 12, 7, 23, 59, 0};
        ClockTextBuffer text;
        const auto frame = [&] {
            clock30.AdvanceMs(33);
            if (frameCounter.Count(NowMs())) frameCounter.RestartWindow(NowMs());
            if (labelTimer.IntervalElapsed(1000)) {
                char digits[12];
                const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(frameCounter.Rate())).ptr;
                frameRate->SetText(std::string_view(digits, static_cast<size_t>(end - digits)));
                frameRate->RefreshLayout();
            }
            time.second = (time.second + 1) % 60;
            clock->SetText(FormatClockText(time, true, text));
            clock->RefreshLayout();
            int width = 0, height = 0;
            clock->GetSize(width, height);
            clock->MoveTo(static_cast<int>(kWidth) - width, static_cast<int>(kHeight) - height);
            overlay.Draw(*device, kWidth, kHeight);
        };
        // The next frame up to the overlay: a triangle stands in for the scene, which in the
        // program pays for the device taking up its state again after a present.
        const auto present = [&] {
            device->EndScene();
            device->Present();
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0);
            device->BeginScene();
            const OverlayVertex triangle[3] = {{0, 0, 0.5f, 1, 0xFF406080, 0, 0}, {100, 0, 0.5f, 1, 0xFF406080, 0, 0},
                                               {0, 100, 0.5f, 1, 0xFF406080, 0, 0}};
            device->SetFVF(kOverlayFvf);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(OverlayVertex));
        };
        device->BeginScene();
        frame();  // the first frame makes the vertex buffer
        present();
        long allocations = 0;
        for (auto _ : state) {
            const long before = AllocationCount();
            const auto start = std::chrono::steady_clock::now();
            frame();
            const auto end = std::chrono::steady_clock::now();
            allocations += AllocationCount() - before;
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            present();
        }
        device->EndScene();
        state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
        state.counters["draws_per_frame"] = overlay.LastDrawCalls();
    }
}

void BM_OverlayFrameOnTheOpenGlDevice(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gl::HiddenWindow window(kWidth, kHeight);
    Ref<Direct3D> d3d = PlatformDirect3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp = gl::HiddenWindowParameters(kWidth, kHeight);
    Ref<Device> device;
    if (!d3d || !window.NativeHandle() ||
        FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window.NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp,
                                 device))) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    RunOverlayFrames(state, device);
}

// The overlay's own cost: a device that keeps the state and records the calls, without a driver.
void BM_OverlayFrameOnTheRecordingDevice(benchmark::State& state) {
    auto recording = MakeRef<RecordingDevice>();
    recording->SetLogging(false);
    RunOverlayFrames(state, Ref<Device>(recording.get()));
}
// A fixed count: the untimed present of each frame costs far more than the timed part.
BENCHMARK(BM_OverlayFrameOnTheRecordingDevice)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1000);
BENCHMARK(BM_OverlayFrameOnTheOpenGlDevice)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();
