#include <windows.h>
#include <mmsystem.h>

#include "platform/sys/Clock.h"

namespace sys {
namespace {

class PerformanceClock final : public Clock {
public:
    bool QueryPerformanceFrequency(int64_t& frequency) override {
        LARGE_INTEGER value{};
        if (!::QueryPerformanceFrequency(&value)) return false;
        frequency = value.QuadPart;
        return true;
    }
    bool QueryPerformanceCounter(int64_t& counter) override {
        LARGE_INTEGER value{};
        if (!::QueryPerformanceCounter(&value)) return false;
        counter = value.QuadPart;
        return true;
    }
    uint32_t TimeGetTime() override { return ::timeGetTime(); }
};

}  // namespace

Clock& SystemClock() {
    static PerformanceClock clock;
    return clock;
}

}  // namespace sys
