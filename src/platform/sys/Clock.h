#pragma once
// The system's time sources as the engine sees them: a high-resolution counter that may be
// missing, and a wrapping millisecond tick. A test clock can be injected process-wide.

#include <cstdint>

namespace sys {

class Clock {
public:
    virtual ~Clock() = default;
    // False when there is no high-resolution counter.
    virtual bool QueryPerformanceFrequency(int64_t& frequency) = 0;
    virtual bool QueryPerformanceCounter(int64_t& counter) = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual uint32_t TimeGetTime() = 0;
};

// The clock every engine timer reads. Defaults to the system's monotonic clock.
Clock& GetClock();
// Replaces the process-wide clock; null restores the system clock. The caller keeps ownership.
void SetClock(Clock* clock);

// A hand-driven clock for tests and for offscreen recording on simulated time.
class TestClock final : public Clock {
public:
    explicit TestClock(int64_t startMs = 0) : nowMs_(startMs) {}
    void SetMs(int64_t ms) { nowMs_ = ms; }
    void AdvanceMs(int64_t ms) { nowMs_ += ms; }
    int64_t Ms() const { return nowMs_; }
    // Simulates a machine without a usable high-resolution counter.
    void SetCounterAvailable(bool available) { counterAvailable_ = available; }
    // Counter ticks per second reported while the counter is available.
    void SetCounterFrequency(int64_t frequency) { frequency_ = frequency; }

    bool QueryPerformanceFrequency(int64_t& frequency) override;
    bool QueryPerformanceCounter(int64_t& counter) override;
    uint32_t TimeGetTime() override { return static_cast<uint32_t>(nowMs_); }

private:
    int64_t nowMs_;
    int64_t frequency_ = 1000;
    bool counterAvailable_ = true;
};

// Installs a clock for the lifetime of the guard.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace sys
