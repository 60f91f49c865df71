#pragma once
// The frame-rate figure of the main loop: a running estimate inside each second, and the exact
// count of the previous one-second window at each boundary.

#include <cstdint>

class FrameRateCounter {
public:
    void Start(int64_t nowMs) {
        windowStart_ = nowMs;
        frames_ = 0;
        rate_ = 0;
    }
    // One loop pass at `nowMs`. True when a one-second window closed: the caller then starts
    // the next one with RestartWindow at the clock's reading of that moment.
    bool Count(int64_t nowMs) {
        if (nowMs - windowStart_ >= 1000) {
            rate_ = frames_;
            frames_ = 0;
            return true;
        }
        ++frames_;
        if (nowMs != windowStart_) rate_ = frames_ * 1000 / (nowMs - windowStart_);
        return false;
    }
    void RestartWindow(int64_t nowMs) { windowStart_ = nowMs; }
    int64_t Rate() const { return rate_; }

private:
    int64_t windowStart_ = 0;
    int64_t frames_ = 0;
    int64_t rate_ = 0;
};
