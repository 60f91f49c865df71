#include "scene/AnimationTrack.h"

#include <algorithm>
#include <cmath>

using math::Quat;
using math::Vec3;

namespace {

Vec3 AsVec3(const float* v) { return {v[0], v[1], v[2]}; }
Quat AsQuat(const float* v) { return {v[0], v[1], v[2], v[3]}; }

void Store(Vec3 v, float* out) {
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

void Store(Quat q, float* out) {
    out[0] = q.x;
    out[1] = q.y;
    out[2] = q.z;
    out[3] = q.w;
}

Vec3 LogAsVec3(Quat log) { return {log.x, log.y, log.z}; }
Quat ExpOf(Vec3 v) { return math::QuatExp({v.x, v.y, v.z, 0}); }

// The same rotation as `q`, in the hemisphere of `reference`, so curves take the short way.
Quat Align(Quat q, Quat reference) {
    return math::QuatDot(q, reference) < 0.0f ? Quat{-q.x, -q.y, -q.z, -q.w} : q;
}

// The rotation that takes unit `from` to unit `to`, in `from`'s own frame, as a log vector.
Vec3 RelativeLog(Quat from, Quat to) {
    return LogAsVec3(math::QuatLn(math::QuatMultiply(to, math::QuatConjugate(from))));
}

struct CurveParams {
    float tension, continuity, bias;
};

// The changes around a segment: across it, and across the segments before and after it when
// there are such neighbours, with the time each change takes.
struct SegmentShape {
    Vec3 before, across, after;
    float dtBefore = 0, dt = 0, dtAfter = 0;
    bool hasBefore = false, hasAfter = false;
    CurveParams start{}, end{};
};

struct Tangents {
    Vec3 leaving;   // at the segment's first key
    Vec3 arriving;  // at its second key
};

// Kochanek-Bartels tangents, scaled for unevenly spaced keys. An open end takes the tangent
// that leaves the curve unbent there; with no neighbour at all the segment is straight.
Tangents KochanekBartels(const SegmentShape& s) {
    Tangents t;
    const float t0 = 1.0f - s.start.tension;
    const float t1 = 1.0f - s.end.tension;
    if (s.hasBefore) {
        const float a = t0 * (1 + s.start.continuity) * (1 + s.start.bias) * 0.5f;
        const float b = t0 * (1 - s.start.continuity) * (1 - s.start.bias) * 0.5f;
        t.leaving = (s.before * a + s.across * b) * (2.0f * s.dt / (s.dtBefore + s.dt));
    }
    if (s.hasAfter) {
        const float a = t1 * (1 - s.end.continuity) * (1 + s.end.bias) * 0.5f;
        const float b = t1 * (1 + s.end.continuity) * (1 - s.end.bias) * 0.5f;
        t.arriving = (s.across * a + s.after * b) * (2.0f * s.dt / (s.dt + s.dtAfter));
    }
    if (s.hasAfter && !s.hasBefore) {
        t.leaving = (s.across * 3.0f - t.arriving) * (t0 * 0.5f);
    } else if (s.hasBefore && !s.hasAfter) {
        t.arriving = (s.across * 3.0f - t.leaving) * (t1 * 0.5f);
    } else if (!s.hasBefore && !s.hasAfter) {
        t.leaving = s.across * t0;
        t.arriving = s.across * t1;
    }
    return t;
}

}  // namespace

void TimeRange::merge(const TimeRange& other) {
    start = std::min(start, other.start);
    end = std::max(end, other.end);
}

float WrapTime(float time, float start, float end) {
    const float length = end - start;
    if (!(length > 0.0f)) return start;
    float offset = std::fmod(time - start, length);
    // fmod keeps the sign of its argument, so start + fmod alone would leave a time before the
    // range before it, where the track holds its first pose: backwards play and a time offset
    // would then freeze a loop instead of looping it. A loop is periodic on both sides: times
    // before the range wrap from its end.
    if (offset < 0.0f) offset += length;
    return start + offset;
}

float Ease(float u, float easeFrom, float easeTo) {
    float a = std::max(easeFrom, 0.0f);
    float b = std::max(easeTo, 0.0f);
    const float sum = a + b;
    if (sum == 0.0f) return u;
    if (sum > 1.0f) {
        a /= sum;
        b /= sum;
    }
    const float k = 1.0f / (2.0f - a - b);
    if (u < a) return u * u * k / a;
    if (u < 1.0f - b) return k * (2.0f * u - a);
    // Without an arrival ease this branch is only reached at u = 1.
    if (b == 0.0f) return 1.0f;
    const float v = 1.0f - u;
    return 1.0f - v * v * k / b;
}

AnimationKey AnimationKey::Vector(float time, Vec3 value, float tension, float continuity, float bias, float ease) {
    return {time, {value.x, value.y, value.z, tension, continuity, bias, ease}};
}

AnimationKey AnimationKey::Rotation(float time, Quat value, float tension, float continuity, float bias) {
    return {time, {value.x, value.y, value.z, value.w, tension, continuity, bias}};
}

void AnimationTrack::setFlags(uint32_t flags) {
    flags_ = flags;
    for (Segment& s : segments_) s.built = false;
}

bool AnimationTrack::addKey(const AnimationKey& key) {
    if (!std::isfinite(key.time)) return false;
    auto at = std::lower_bound(keys_.begin(), keys_.end(), key.time,
                               [](const AnimationKey& k, float t) { return k.time < t; });
    if (at != keys_.end() && at->time == key.time) *at = key;
    else keys_.insert(at, key);
    // New neighbours change every tangent nearby; rebuilding all is simplest and happens only
    // while keys are being added.
    segments_.assign(keys_.size() - 1, Segment{});
    return true;
}

void AnimationTrack::clear() {
    keys_.clear();
    segments_.clear();
}

bool AnimationTrack::getRange(TimeRange& out) const {
    if (keys_.empty()) return false;
    out = {keys_.front().time, keys_.back().time};
    return true;
}

bool AnimationTrack::evaluate(float time, Vec3& out) {
    float value[4];
    if (kind_ != Kind::Vector || !evaluateValue(time, value)) return false;
    out = AsVec3(value);
    return true;
}

bool AnimationTrack::evaluate(float time, Quat& out) {
    float value[4];
    if (kind_ != Kind::Rotation || !evaluateValue(time, value)) return false;
    out = math::QuatNormalize(AsQuat(value));
    return true;
}

bool AnimationTrack::evaluateValue(float time, float out[4]) {
    if (keys_.empty()) return false;
    const size_t size = valueSize();
    if (flags_ & kWrap) time = WrapTime(time, keys_.front().time, keys_.back().time);
    const auto after = std::upper_bound(keys_.begin(), keys_.end(), time,
                                        [](float t, const AnimationKey& k) { return t < k.time; });
    if (after == keys_.begin()) {
        std::copy_n(keys_.front().data, size, out);
        return true;
    }
    const size_t first = static_cast<size_t>(after - keys_.begin()) - 1;
    const AnimationKey& k0 = keys_[first];
    if (after == keys_.end() || k0.time == time || std::fabs(after->time - k0.time) <= 0.0001f) {
        std::copy_n(k0.data, size, out);
        return true;
    }
    const Segment& s = segment(first);
    const float u = Ease((time - k0.time) / (after->time - k0.time), s.easeFrom, s.easeTo);
    interpolate(s, u, out);
    return true;
}

const AnimationTrack::Segment& AnimationTrack::segment(size_t first) {
    Segment& s = segments_[first];
    if (!s.built) {
        buildSegment(first, s);
        s.built = true;
    }
    return s;
}

void AnimationTrack::buildSegment(size_t first, Segment& s) const {
    const size_t count = keys_.size();
    const AnimationKey& k0 = keys_[first];
    const AnimationKey& k1 = keys_[first + 1];
    const bool rotation = kind_ == Kind::Rotation;
    if (!rotation) {
        s.easeFrom = k0.data[6];
        s.easeTo = k1.data[6];
    }
    if (flags_ & kLinear) {
        std::copy_n(k0.data, 4, s.points[0]);
        std::copy_n(k1.data, 4, s.points[3]);
        return;
    }

    // On a cyclic track the first and last keys are one moment of the loop, so the neighbours
    // across the seam are the keys next to them, shifted by the loop's length.
    const bool cyclic = (flags_ & kCyclic) != 0;
    const float length = keys_.back().time - keys_.front().time;
    const AnimationKey* before = nullptr;
    const AnimationKey* after = nullptr;
    float beforeTime = 0, afterTime = 0;
    if (first > 0) {
        before = &keys_[first - 1];
        beforeTime = before->time;
    } else if (cyclic) {
        before = &keys_[count - 2];
        beforeTime = before->time - length;
    }
    if (first + 2 < count) {
        after = &keys_[first + 2];
        afterTime = after->time;
    } else if (cyclic) {
        after = &keys_[1];
        afterTime = after->time + length;
    }

    const size_t size = valueSize();
    SegmentShape shape;
    shape.dt = k1.time - k0.time;
    shape.hasBefore = before != nullptr;
    shape.hasAfter = after != nullptr;
    shape.dtBefore = k0.time - beforeTime;
    shape.dtAfter = afterTime - k1.time;
    shape.start = {k0.data[size], k0.data[size + 1], k0.data[size + 2]};
    shape.end = {k1.data[size], k1.data[size + 1], k1.data[size + 2]};

    if (!rotation) {
        const Vec3 p0 = AsVec3(k0.data), p1 = AsVec3(k1.data);
        shape.across = p1 - p0;
        if (before) shape.before = p0 - AsVec3(before->data);
        if (after) shape.after = AsVec3(after->data) - p1;
        const Tangents t = KochanekBartels(shape);
        Store(p0, s.points[0]);
        Store(t.leaving, s.points[1]);
        Store(t.arriving, s.points[2]);
        Store(p1, s.points[3]);
        return;
    }

    // Rotations: the same tangents in the log space of the relative rotations, turned into the
    // inner control points of a quaternion Bezier curve.
    const Quat q0 = math::QuatNormalize(AsQuat(k0.data));
    const Quat q1 = Align(math::QuatNormalize(AsQuat(k1.data)), q0);
    shape.across = RelativeLog(q0, q1);
    if (before) shape.before = RelativeLog(Align(math::QuatNormalize(AsQuat(before->data)), q0), q0);
    if (after) shape.after = RelativeLog(q1, Align(math::QuatNormalize(AsQuat(after->data)), q1));
    const Tangents t = KochanekBartels(shape);
    Store(q0, s.points[0]);
    Store(math::QuatMultiply(ExpOf(t.leaving * (1.0f / 3.0f)), q0), s.points[1]);
    Store(math::QuatMultiply(ExpOf(t.arriving * (-1.0f / 3.0f)), q1), s.points[2]);
    Store(q1, s.points[3]);
}

void AnimationTrack::interpolate(const Segment& s, float u, float out[4]) const {
    const bool linear = (flags_ & kLinear) != 0;
    if (kind_ == Kind::Vector) {
        const Vec3 p0 = AsVec3(s.points[0]), p1 = AsVec3(s.points[3]);
        if (linear) {
            Store(p0 + (p1 - p0) * u, out);
            return;
        }
        const float u2 = u * u, u3 = u2 * u;
        Store(p0 * (2 * u3 - 3 * u2 + 1) + p1 * (-2 * u3 + 3 * u2) + AsVec3(s.points[1]) * (u3 - 2 * u2 + u) +
                  AsVec3(s.points[2]) * (u3 - u2),
              out);
        return;
    }
    if (linear) {
        Store(math::Slerp(AsQuat(s.points[0]), AsQuat(s.points[3]), u), out);
        return;
    }
    // De Casteljau's construction with spherical steps: three slerps, then two, then one.
    const Quat a = math::Slerp(AsQuat(s.points[0]), AsQuat(s.points[1]), u);
    const Quat b = math::Slerp(AsQuat(s.points[1]), AsQuat(s.points[2]), u);
    const Quat c = math::Slerp(AsQuat(s.points[2]), AsQuat(s.points[3]), u);
    Store(math::Slerp(math::Slerp(a, b, u), math::Slerp(b, c, u), u), out);
}
