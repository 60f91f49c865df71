#include "clock/Thunderstorm.h"

#include <algorithm>
#include <cmath>

#include "common/Random.h"

namespace {

constexpr int64_t kFirstFlashMs = 1000;
// Storm times from the scene settings are kept where a draw mod 3 x time neither divides by
// zero nor overflows.
constexpr int kShortestTime = 1;
constexpr int kLongestTime = 24 * 60 * 60 * 1000;

int KeepInRange(int ms) { return std::clamp(ms, kShortestTime, kLongestTime); }

uint16_t CapRampValue(double value) { return static_cast<uint16_t>(std::min(std::trunc(value), 65535.0)); }

}  // namespace

double RealModulo(double a, double b) {
    if (std::fabs(b) <= 0.0001) return 0.0;
    double r = a - b * std::trunc(a / b);
    if (r < 0) r += b;
    return r;
}

Thunderstorm::Thunderstorm() {
    pendingThunder_.reserve(8);
    pendingWinks_.reserve(8);
}

void Thunderstorm::SetQuietTime(int ms) { quietTime_ = KeepInRange(ms); }
void Thunderstorm::SetWinkTime(int ms) { winkTime_ = KeepInRange(ms); }

void Thunderstorm::Start() {
    nextFlashInterval_ = kFirstFlashMs;
    flashIntervalTimer_.Reset();
}

void Thunderstorm::StartFlashAndThunder(ThunderSound& sound) {
    if (!flashActive_ && flashIntervalTimer_.IntervalElapsed(nextFlashInterval_)) StartFlash(sound);
    if (sound.EffectsAudible()) PlayDueThunder(sound);
    else DropStaleThunder();
}

void Thunderstorm::StartFlash(ThunderSound& sound) {
    flashActive_ = true;
    flashTimer_.Reset();
    ++counts_.flashes;
    flashDuration_ = Random() % 400 + 300;
    flashStrength_ = static_cast<float>(Random() % 100) / 100.0f * 0.5f + 0.5f;
    if (Random() % 5 == 0) {
        // A double flash: the next one follows at once, and the lamp winks a little later.
        nextFlashInterval_ = Random() % 100;
        ++counts_.doubleFlashes;
        PendingWink wink;
        wink.delay = Random() % 2000 + 1000;
        pendingWinks_.push_back(wink);
    } else if (Random() % 2 == 0) {
        nextFlashInterval_ = Random() % (2 * quietTime_) + quietTime_;
    } else {
        nextFlashInterval_ = Random() % (3 * quietTime_) + 2 * quietTime_;
    }
    if (sound.ThunderLoaded()) pendingThunder_.emplace_back();
}

void Thunderstorm::PlayDueThunder(ThunderSound& sound) {
    for (size_t i = 0; i < pendingThunder_.size();) {
        if (!pendingThunder_[i].IntervalElapsed(kThunderDelayMs)) {
            ++i;
            continue;
        }
        const int sample = Random() % 3;
        const int choice = Random() % 3;
        const int volume = choice == 0 ? Random() % 30 + 20 : (choice == 1 ? 0 : 100);
        sound.PlayThunder(sample, volume);
        pendingThunder_.erase(pendingThunder_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void Thunderstorm::DropStaleThunder() {
    std::erase_if(pendingThunder_, [](const Stopwatch& entry) { return entry.Elapsed() >= kStaleThunderMs; });
}

Thunderstorm::GammaChange Thunderstorm::StartWinkAndEvaluateFlash() {
    for (size_t i = 0; i < pendingWinks_.size();) {
        if (!pendingWinks_[i].timer.IntervalElapsed(pendingWinks_[i].delay)) {
            ++i;
            continue;
        }
        ++counts_.winksDue;
        // A second wink coming due during one lengthens it without restarting its wave.
        if (!winkActive_) {
            winkActive_ = true;
            winkPhaseTimer_.Reset();
            ++counts_.winks;
        }
        winkTimer_.Reset();
        winkDuration_ = Random() % (2 * winkTime_) + winkTime_;
        pendingWinks_.erase(pendingWinks_.begin() + static_cast<std::ptrdiff_t>(i));
    }

    flashLevel_ = 0;
    if (!flashActive_) return GammaChange::kNone;
    const float t = static_cast<float>(flashTimer_.Elapsed()) / static_cast<float>(flashDuration_);
    float v = t < 0.5f ? 2.0f * t : 2.0f * (1.0f - t);
    if (t >= 1.0f || v < 0.0f) v = 0.0f;
    flashLevel_ = std::min(1.0f, std::sqrt(std::sqrt(v)) * 1.1111112f);
    BlendFlashRamp();
    if (flashTimer_.IntervalElapsed(flashDuration_)) {
        flashActive_ = false;
        flashIntervalTimer_.Reset();
        return GammaChange::kBase;
    }
    return GammaChange::kFlash;
}

void Thunderstorm::BlendFlashRamp() {
    const float s = flashStrength_;
    const float level = flashLevel_;
    std::array<uint16_t, 256>* blended[3] = {&blendedRamp_.red, &blendedRamp_.green, &blendedRamp_.blue};
    const std::array<uint16_t, 256>* base[3] = {&baseGammaRamp_.red, &baseGammaRamp_.green, &baseGammaRamp_.blue};
    for (int i = 0; i < 256; ++i) {
        const uint16_t flash = CapRampValue(s * 32768.0f + static_cast<float>(i) * (s * 256.0f + 256.0f));
        for (int c = 0; c < 3; ++c) {
            (*blended[c])[i] = CapRampValue(flash * level + (*base[c])[i] * (1.0f - level));
        }
    }
}

void Thunderstorm::EvaluateWink() {
    if (!winkActive_) return;
    double u = static_cast<double>(winkTimer_.Elapsed()) / winkDuration_;
    bool over = false;
    if (u > 1.0) {
        over = true;
        u -= std::trunc(u);
    }
    winkPeriod_ = static_cast<float>((1.0 - u * u) * 100.0 + 500.0);
    winkLevel_ = static_cast<float>(RealModulo(static_cast<double>(winkPhaseTimer_.Elapsed()), winkPeriod_) / winkPeriod_);
    if (winkLevel_ > 0.5f) winkLevel_ = 1.0f - winkLevel_;
    // The wave runs past the wink's length until it next comes near zero, so it never snaps off.
    if (over && winkLevel_ <= 0.1f) {
        winkActive_ = false;
        winkLevel_ = 0;
    }
}
