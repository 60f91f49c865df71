#pragma once
// The storm outside the window: lightning flashes that brighten the display through its gamma
// ramp, thunder half a second after a flash, and winks of the room's light maps after double
// flashes. Every random choice is one draw of the program's generator, in a fixed order, so a seed replays a storm.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Timing.h"
#include "shell/GammaRamp.h"

// What the storm needs from the sound.
class ThunderSound {
public:
    virtual ~ThunderSound() = default;
    // The first thunder sample is loaded (no thunder is queued without it).
    virtual bool ThunderLoaded() const = 0;
    // The Sound setting is on and the volume is not 0.
    virtual bool EffectsAudible() const = 0;
    // Plays thunder sample `index` (0 to 2) on a new channel at `volume` (0 to 100).
    virtual void PlayThunder(int index, int volume) = 0;
};

// Part of `a` beyond whole multiples of `b`, in [0, |b|); 0 when b is about zero.
double RealModulo(double a, double b);

class Thunderstorm {
public:
    // What the storm did since it was made (the long runs check its rates).
    struct Counts {
        int flashes = 0;
        int doubleFlashes = 0;
        int winksDue = 0;  // queued winks that came due
        int winks = 0;     // winks begun from idle (a wink due during another lengthens it)
    };

    // What the display's gamma ramp must show after a flash step.
    enum class GammaChange { kNone, kFlash, kBase };

    static constexpr int64_t kThunderDelayMs = 500;
    // Queued thunder older than this is dropped while nothing can be heard: by then it no longer
    // belongs to its flash, and a silent run must not collect entries for hours.
    static constexpr int64_t kStaleThunderMs = 5000;

    Thunderstorm();

    // Kept between 1 ms and a day.
    void SetQuietTime(int ms);
    void SetWinkTime(int ms);
    int QuietTime() const { return quietTime_; }
    int WinkTime() const { return winkTime_; }
    void SetBaseRamp(const GammaRamp& ramp) { baseGammaRamp_ = ramp; }
    const GammaRamp& BaseRamp() const { return baseGammaRamp_; }

    // After loading: the first flash comes 1000 ms from now.
    void Start();
    void ResetWinkPhase() { winkPhaseTimer_.Reset(); }

    // A due flash starts (with its strength, length, the next interval and perhaps a wink) and
    // due thunder plays.
    void StartFlashAndThunder(ThunderSound& sound);
    // Due winks start; the flash's level and ramp for this frame.
    GammaChange StartWinkAndEvaluateFlash();
    void EvaluateWink();

    float flashLevel() const { return flashLevel_; }
    float winkLevel() const { return winkLevel_; }
    bool flashActive() const { return flashActive_; }
    bool winkActive() const { return winkActive_; }
    int flashDuration() const { return flashDuration_; }
    float flashStrength() const { return flashStrength_; }
    int nextFlashInterval() const { return nextFlashInterval_; }
    int winkDuration() const { return winkDuration_; }
    float winkPeriod() const { return winkPeriod_; }
    size_t PendingThunder() const { return pendingThunder_.size(); }
    size_t PendingWinks() const { return pendingWinks_.size(); }
    // The blended ramp of the last flash frame.
    const GammaRamp& FlashRamp() const { return blendedRamp_; }
    const Counts& Totals() const { return counts_; }

private:
    struct PendingWink {
        Stopwatch timer;
        int64_t delay;
    };

    void StartFlash(ThunderSound& sound);
    void PlayDueThunder(ThunderSound& sound);
    void DropStaleThunder();
    void BlendFlashRamp();

    float flashLevel_ = 0;
    float winkLevel_ = 0;
    GammaRamp baseGammaRamp_;
    GammaRamp blendedRamp_;
    bool flashActive_ = false;
    Stopwatch flashTimer_;
    int flashDuration_ = 0;
    float flashStrength_ = 0;
    int nextFlashInterval_ = 1000;
    Stopwatch flashIntervalTimer_;
    int quietTime_ = 6000;
    bool winkActive_ = false;
    Stopwatch winkPhaseTimer_;
    Stopwatch winkTimer_;
    int winkDuration_ = 0;
    float winkPeriod_ = 15.0f;
    int winkTime_ = 2000;
    std::vector<Stopwatch> pendingThunder_;
    std::vector<PendingWink> pendingWinks_;
    Counts counts_;
};
