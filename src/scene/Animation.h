#pragma once
// A node's keyframed motion: scale, rotation and position tracks, combined into one matrix in
// the node transform's order (scale, then rotation, then position).

#include "scene/AnimationTrack.h"
#include "scene/Matrix.h"

class Animation {
public:
    AnimationTrack& scaleTrack() { return scale_; }
    AnimationTrack& rotationTrack() { return rotation_; }
    AnimationTrack& positionTrack() { return position_; }
    const AnimationTrack& scaleTrack() const { return scale_; }
    const AnimationTrack& rotationTrack() const { return rotation_; }
    const AnimationTrack& positionTrack() const { return position_; }

    // Earliest first key and latest last key over the three tracks; false without keys.
    bool getRange(TimeRange& out) const;
    // A track without keys leaves its part at unit scale, no rotation or zero position.
    void evaluate(float time, Matrix& out);
    void clear();

private:
    AnimationTrack scale_{AnimationTrack::Kind::Vector};
    AnimationTrack rotation_{AnimationTrack::Kind::Rotation};
    AnimationTrack position_{AnimationTrack::Kind::Vector};
};
