#pragma once
// The engine's millisecond clock and the stopwatch every timer is built on.

#include <cstdint>

// Milliseconds from the high-resolution counter, cut to 32 bits and sign-extended, so the value
// wraps like the platform's own tick; without a counter of at least 1 kHz, the wrapping tick.
int64_t NowMs();

class Stopwatch {
public:
    Stopwatch() : start_(NowMs()) {}
    int64_t Reset() { return start_ = NowMs(); }
    int64_t Elapsed() const { return NowMs() - start_; }
    // Fires (and restarts) once `period` has passed, also when the clock jumped back by a period.
    bool IntervalElapsed(int64_t period);
    int64_t Start() const { return start_; }

private:
    int64_t start_;
};
