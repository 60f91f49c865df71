#include "app/SoakMonitor.h"

#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's own count (its runtime has it; not every compiler ships the header).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "clock/ClockApplication.h"
#include "shell/Application.h"

namespace {

constexpr int64_t kLossPeriodMs = 60000;
// A resize comes half a minute after every third loss, well clear of the losses' resets.
constexpr int64_t kHalfMinuteMs = 30000;
constexpr int64_t kResizeEveryHalfMinutes = 6;
constexpr int64_t kResizeAtHalfMinute = 3;
// The sizes the window takes in turn: wider, smaller, and back to where the runs start.
constexpr struct {
    int width, height;
} kSizes[] = {{80, 60}, {48, 36}, {64, 48}};

// Resident memory of this process in kB, 0 when unknown.
long ResidentKb() {
    long pages = 0, resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
    std::fclose(statm);
    return read ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Bytes of the heap in use in kB: what a leak makes grow. Resident memory also holds freed
// blocks the allocator keeps, and wobbles by megabytes with them.
long HeapKb() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return static_cast<long>(mallinfo2().uordblks / 1024);
#endif
}

// The kB a minute of QUELMONT_SOAK_LEAK_KB, 0 when unset or not a count up to a gigabyte.
long PlantedLeakKb() {
    const char* value = std::getenv("QUELMONT_SOAK_LEAK_KB");
    if (!value) return 0;
    char* end = nullptr;
    const long kb = std::strtol(value, &end, 10);
    return end != value && *end == '\0' && kb > 0 && kb <= (1L << 20) ? kb : 0;
}

}  // namespace

SoakMonitor::SoakMonitor(Application& app) : app_(app), plantedLeakKb_(PlantedLeakKb()) {}

void SoakMonitor::PrepareRenderer() {
    // The software renderer makes a new scene whenever its rasteriser threads fall behind, keeps
    // every scene for the context's life, and lets go of a finished scene's memory and of the
    // textures it drew (even ones freed at a reset) only when it reuses that scene: what the heap
    // holds depends on how the threads were scheduled. Rasterising on the drawing thread leaves
    // one scene, reused at every flush. Other drivers ignore the variable.
    setenv("LP_NUM_THREADS", "0", 1);
}

void SoakMonitor::AfterFrame(int64_t elapsedMs) {
    gfx::Device* device = app_.Device();
    if (!device) return;
    if (!windowed_) {
        // Only a windowed device follows its window's size (a full-screen one keeps its mode), so
        // the run goes on with the windowed settings, as a run without a full-screen mode does.
        windowed_ = true;
        app_.SetMode(false);
        return;
    }
    NotePath(elapsedMs);
    if (trial_ == Trial::kLost) {
        device->SimulateDeviceRestore();
        trial_ = Trial::kAwaitingReset;
    } else if (trial_ == Trial::kAwaitingReset && device->TestCooperativeLevel() == gfx::D3D_OK) {
        trial_ = Trial::kNone;
        ++recovered_;
        CheckRemade("loss");
    } else if (trial_ == Trial::kResized) {
        trial_ = Trial::kNone;
        if (ResizeFollowed()) ++resized_;
        CheckRemade("resize");
    }

    const int64_t minute = elapsedMs / kLossPeriodMs;
    if (minute > minute_) {
        minute_ = minute;
        // Written, so that it is resident as well, as a real leak's blocks are.
        if (plantedLeakKb_ > 0) planted_.emplace_back(static_cast<size_t>(plantedLeakKb_) * 1024, '\1');
        std::printf("soak: minute %lld rss %ld kB losses %d recovered %d resizes %d followed %d remade %d heap %ld kB\n",
                    static_cast<long long>(minute), ResidentKb(), losses_, recovered_, resizes_, resized_, remade_,
                    HeapKb());
        std::fflush(stdout);
        if (trial_ == Trial::kNone) StartLoss();
    }
    const int64_t halfMinute = elapsedMs / kHalfMinuteMs;
    if (halfMinute > halfMinute_) {
        halfMinute_ = halfMinute;
        if (halfMinute % kResizeEveryHalfMinutes == kResizeAtHalfMinute && trial_ == Trial::kNone) StartResize();
    }
}

void SoakMonitor::StartLoss() {
    texturesBefore_ = gfx::TextureCounts();
    buffersBefore_ = gfx::BufferCounts();
    app_.Device()->SimulateDeviceLoss();
    trial_ = Trial::kLost;
    ++losses_;
}

void SoakMonitor::StartResize() {
    texturesBefore_ = gfx::TextureCounts();
    buffersBefore_ = gfx::BufferCounts();
    const auto& size = kSizes[resizes_ % std::size(kSizes)];
    width_ = size.width;
    height_ = size.height;
    // As a user or a host would: the window changes, and its messages reach the saver.
    const sys::Rect box = app_.RenderWindow()->GetWindowRect();
    app_.RenderWindow()->SetPlacement({box.left, box.top, box.left + width_, box.top + height_});
    trial_ = Trial::kResized;
    ++resizes_;
}

bool SoakMonitor::ResizeFollowed() const {
    gfx::D3DSURFACE_DESC back{};
    const bool sized = gfx::SUCCEEDED(app_.Device()->GetBackBufferDesc(back)) &&
                       back.Width == static_cast<uint32_t>(width_) && back.Height == static_cast<uint32_t>(height_);
    const float aspect = static_cast<float>(width_) / static_cast<float>(height_);
    const bool projected = std::fabs(app_.Aspect() - aspect) < 1e-4f;
    if (!sized || !projected) {
        std::printf("soak: resize to %dx%d not followed: back buffer %ux%u, aspect %.4f\n", width_, height_, back.Width,
                    back.Height, static_cast<double>(app_.Aspect()));
    }
    return sized && projected;
}

void SoakMonitor::CheckRemade(const char* trial) {
    const gfx::ResourceCounts textures = gfx::TextureCounts();
    const gfx::ResourceCounts buffers = gfx::BufferCounts();
    const bool texturesBack = textures.alive == texturesBefore_.alive &&
                              textures.made - texturesBefore_.made >= static_cast<uint64_t>(texturesBefore_.alive);
    const bool buffersBack = buffers.alive == buffersBefore_.alive &&
                             buffers.made - buffersBefore_.made >= static_cast<uint64_t>(buffersBefore_.alive);
    if (texturesBack && buffersBack) {
        ++remade_;
        return;
    }
    std::printf("soak: after the %s: textures %lld alive (%lld before), %llu made; buffers %lld alive (%lld before), "
                "%llu made\n",
                trial, static_cast<long long>(textures.alive), static_cast<long long>(texturesBefore_.alive),
                static_cast<unsigned long long>(textures.made - texturesBefore_.made),
                static_cast<long long>(buffers.alive), static_cast<long long>(buffersBefore_.alive),
                static_cast<unsigned long long>(buffers.made - buffersBefore_.made));
}

void SoakMonitor::NotePath(int64_t elapsedMs) {
    const CameraPathPlayer& paths = app_.CameraPaths();
    // A path begins when the name changes, or when the same one starts again from its first key.
    if (paths.CurrentPath() != path_ || paths.pathTime() < pathTime_) {
        path_ = paths.CurrentPath();
        std::printf("soak: path %s at %lld ms\n", path_.c_str(), static_cast<long long>(elapsedMs));
    }
    pathTime_ = paths.pathTime();
}

void SoakMonitor::Finish() const {
    const auto* clock = dynamic_cast<const ClockApplication*>(&app_);
    if (!clock) return;
    const Thunderstorm::Counts& storm = clock->Storm().Totals();
    std::printf("soak: storm flashes %d double %d due %d winks %d\n", storm.flashes, storm.doubleFlashes, storm.winksDue,
                storm.winks);
}
