#include "platform/sys/Clock.h"

#include "platform/sys/Installable.h"

namespace sys {

Clock& SystemClock();  // the platform's implementation, linked in

Clock& GetClock() { return Installable<Clock, SystemClock>::Get(); }

void SetClock(Clock* clock) { Installable<Clock, SystemClock>::Set(clock); }

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
