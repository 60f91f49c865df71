#include <ctime>

#include "platform/sys/Clock.h"

namespace sys {
namespace {

int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class MonotonicClock final : public Clock {
public:
    bool QueryPerformanceFrequency(int64_t& frequency) override {
        frequency = 1000000000;
        return true;
    }
    bool QueryPerformanceCounter(int64_t& counter) override {
        counter = MonotonicNs();
        return true;
    }
    uint32_t TimeGetTime() override { return static_cast<uint32_t>(MonotonicNs() / 1000000); }
};

}  // namespace

Clock& SystemClock() {
    static MonotonicClock clock;
    return clock;
}

}  // namespace sys
