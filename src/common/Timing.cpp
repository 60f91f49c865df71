#include "common/Timing.h"

#include "platform/sys/Clock.h"

int64_t NowMs() {
    sys::Clock& clock = sys::GetClock();
    int64_t frequency = 0;
    int64_t counter = 0;
    if (clock.QueryPerformanceFrequency(frequency) && frequency >= 1000 && clock.QueryPerformanceCounter(counter)) {
        const int64_t ms = counter / (frequency / 1000);
        return static_cast<int32_t>(static_cast<uint32_t>(ms));
    }
    return static_cast<int64_t>(clock.TimeGetTime());
}

bool Stopwatch::IntervalElapsed(int64_t period) {
    const int64_t now = NowMs();
    if (now - start_ >= period || start_ - now >= period) {
        start_ = now;
        return true;
    }
    return false;
}
