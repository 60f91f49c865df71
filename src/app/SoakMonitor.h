#pragma once
// The trials of a long run (quelmont --record --soak) and what it watches. The device is lost for
// a frame every simulated minute, as when the screen is locked, and the window changes size every
// third minute; each time the device must come back through its reset with every texture and
// buffer made again (and, after a resize, a back buffer and render area of the new size). Each
// minute's memory and trial counts, every camera path begun and at the end the storm's totals go
// to stdout, for scripts/soak to check. QUELMONT_SOAK_LEAK_KB=N keeps N kB more every minute, a
// leak planted to show that the check catches one.

#include <cstdint>
#include <vector>

#include "common/EngineString.h"
#include "platform/gfx/Resources.h"

class Application;

class SoakMonitor {
public:
    explicit SoakMonitor(Application& app);

    // Before the first device is made: each minute's heap must not depend on how the renderer's
    // threads were scheduled.
    static void PrepareRenderer();

    // After each presented frame, `elapsedMs` into the run.
    void AfterFrame(int64_t elapsedMs);
    // The storm's totals.
    void Finish() const;

private:
    enum class Trial { kNone, kLost, kAwaitingReset, kResized };

    void StartLoss();
    void StartResize();
    // The frame after a trial's reset: the textures and buffers alive before it are alive again,
    // and at least as many were made anew.
    void CheckRemade(const char* trial);
    bool ResizeFollowed() const;
    void NotePath(int64_t elapsedMs);

    Application& app_;
    const long plantedLeakKb_;
    std::vector<std::vector<char>> planted_;
    bool windowed_ = false;
    Trial trial_ = Trial::kNone;
    int64_t minute_ = 0;
    int64_t halfMinute_ = 0;
    int losses_ = 0;
    int recovered_ = 0;
    int resizes_ = 0;
    int resized_ = 0;
    int remade_ = 0;
    int width_ = 0;
    int height_ = 0;
    gfx::ResourceCounts texturesBefore_;
    gfx::ResourceCounts buffersBefore_;
    EngineString path_;
    float pathTime_ = 0;
};
