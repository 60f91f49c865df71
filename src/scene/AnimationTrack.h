#pragma once
// One keyframed channel of an animation (a 3-float value such as a position or a scale, or a
// rotation quaternion) with smooth tension/continuity/bias curves and ease values.

#include "common/math/Math.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A stretch of animation time in seconds.
struct TimeRange {
    float start = 0;
    float end = 0;
    // Widens this range to cover `other` too.
    void merge(const TimeRange& other);
};

// `time` brought into [start, end) by whole periods; `start` when the range is empty.
float WrapTime(float time, float start, float end);

// The ease curve over a segment: slow departure over `easeFrom`, slow arrival over `easeTo`.
float Ease(float u, float easeFrom, float easeTo);

// A key as the scene file stores it: 8 floats, the time in seconds first, then the value
// (x, y, z; a rotation adds w), then the curve parameters: tension, continuity and bias, and for
// 3-float values one ease value that slows the curve both leaving and approaching the key.
struct AnimationKey {
    float time = 0;
    float data[7] = {};

    static AnimationKey Vector(float time, math::Vec3 value, float tension = 0, float continuity = 0,
                               float bias = 0, float ease = 0);
    static AnimationKey Rotation(float time, math::Quat value, float tension = 0, float continuity = 0,
                                 float bias = 0);
};
static_assert(sizeof(AnimationKey) == 32, "the scene file's key record");

class AnimationTrack {
public:
    enum class Kind { Vector, Rotation };
    enum Flags : uint32_t {
        kCyclic = 1,  // the first and last keys are the same moment of a loop
        kWrap = 2,    // times outside the keys wrap into their range
        kLinear = 4,  // straight interpolation instead of curves
    };

    explicit AnimationTrack(Kind kind) : kind_(kind) {}

    Kind kind() const { return kind_; }
    uint32_t flags() const { return flags_; }
    void setFlags(uint32_t flags);

    // Keeps the keys ordered by time; a key at a time that has one replaces it. A key whose
    // time is not a finite number is refused.
    bool addKey(const AnimationKey& key);
    // Removes every key; the storage is kept for the next keys.
    void clear();
    size_t keyCount() const { return keys_.size(); }
    const AnimationKey& key(size_t index) const { return keys_[index]; }
    // First and last key time; false without keys.
    bool getRange(TimeRange& out) const;

    // The value at `time`; false (and `out` untouched) without keys or for the other kind.
    bool evaluate(float time, math::Vec3& out);
    bool evaluate(float time, math::Quat& out);

private:
    // Start value, the two curve controls (Hermite tangents, or Bezier quaternions for
    // rotations) and end value, built once per key pair.
    struct Segment {
        bool built = false;
        float easeFrom = 0;
        float easeTo = 0;
        float points[4][4] = {};
    };

    // Writes 3 or 4 floats of the value at `time`.
    bool evaluateValue(float time, float out[4]);
    const Segment& segment(size_t first);
    void buildSegment(size_t first, Segment& s) const;
    void interpolate(const Segment& s, float u, float out[4]) const;
    size_t valueSize() const { return kind_ == Kind::Rotation ? 4 : 3; }

    Kind kind_;
    uint32_t flags_ = 0;
    std::vector<AnimationKey> keys_;
    std::vector<Segment> segments_;  // segments_[i] joins keys_[i] and keys_[i + 1]
};
