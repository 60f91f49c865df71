#include "platform/sys/Clock.h"

namespace sys {

Clock& SystemClock();  // the platform's implementation, linked in

namespace {
Clock* g_clock = nullptr;
}

Clock& GetClock() { return g_clock ? *g_clock : SystemClock(); }

void SetClock(Clock* clock) { g_clock = clock; }

bool TestClock::QueryPerformanceFrequency(int64_t& frequency) {
    frequency = frequency_;
    return counterAvailable_;
}

bool TestClock::QueryPerformanceCounter(int64_t& counter) {
    // The counter runs at frequency_ ticks per second along the same simulated time.
    counter = nowMs_ * frequency_ / 1000;
    return counterAvailable_;
}

}  // namespace sys
