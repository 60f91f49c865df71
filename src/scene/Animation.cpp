#include "scene/Animation.h"

bool Animation::getRange(TimeRange& out) const {
    bool found = false;
    for (const AnimationTrack* track : {&scale_, &rotation_, &position_}) {
        TimeRange range;
        if (!track->getRange(range)) continue;
        if (found) out.merge(range);
        else out = range;
        found = true;
    }
    return found;
}

void Animation::evaluate(float time, Matrix& out) {
    math::Vec3 scale{1, 1, 1};
    math::Quat rotation;
    math::Vec3 position;
    scale_.evaluate(time, scale);
    rotation_.evaluate(time, rotation);
    position_.evaluate(time, position);
    const math::Mat4 r = math::RotationQuaternion(rotation);
    const math::Vec3 rows[3] = {{r(0, 0), r(0, 1), r(0, 2)}, {r(1, 0), r(1, 1), r(1, 2)}, {r(2, 0), r(2, 1), r(2, 2)}};
    out = Matrix::FromParts(scale, rows, position);
}

void Animation::clear() {
    scale_.clear();
    rotation_.clear();
    position_.clear();
}
