#include "scene/NodeTransform.h"

#include <cmath>

using math::Vec3;

namespace {

Vec3 Row(const Matrix& m, int row) { return {m.m(row, 0), m.m(row, 1), m.m(row, 2)}; }

}  // namespace

void NodeTransform::setPre(const Matrix& pre) {
    pre_ = pre;
    dirty_ = true;
}

void NodeTransform::setScale(Vec3 scale) {
    scale_ = scale;
    dirty_ = true;
}

void NodeTransform::setZAxis(Vec3 zAxis) {
    zAxis_ = zAxis;
    dirty_ = true;
}

void NodeTransform::setYAxis(Vec3 yAxis) {
    yAxis_ = yAxis;
    dirty_ = true;
}

void NodeTransform::setPosition(Vec3 position) {
    position_ = position;
    dirty_ = true;
}

void NodeTransform::setIdentity() { *this = NodeTransform{}; }

void NodeTransform::getRotationRows(Vec3 rows[3]) const {
    rows[1] = math::Normalize(yAxis_);
    rows[2] = math::Normalize(zAxis_);
    rows[0] = math::Normalize(math::Cross(rows[1], rows[2]));
}

const Matrix& NodeTransform::getMatrix() const {
    if (dirty_) {
        Vec3 rows[3];
        getRotationRows(rows);
        cached_ = pre_ * Matrix::FromParts(scale_, rows, position_);
        dirty_ = false;
    }
    return cached_;
}

bool NodeTransform::decompose(const Matrix& m) {
    Vec3 axes[3] = {Row(m, 0), Row(m, 1), Row(m, 2)};
    float scales[3];
    for (int i = 0; i < 3; ++i) {
        scales[i] = math::Length(axes[i]);
        if (scales[i] != 0.0f) axes[i] = axes[i] * (1.0f / scales[i]);
    }
    const Vec3& x = axes[0];
    const Vec3& y = axes[1];
    const Vec3& z = axes[2];
    // The x row is rebuilt from y and z, so they must be usable and x must agree with them:
    // the test on x and y catches a matrix whose first two rows are equal.
    constexpr float kMinAxisLength = 1e-6f;
    const bool decomposes = std::fabs(scales[0] + scales[1] + scales[2]) > 0.01f &&
                            std::fabs(math::Dot(z, y)) <= 0.1f && std::fabs(math::Dot(z, x)) <= 0.1f &&
                            std::fabs(math::Dot(x, y)) <= 0.1f && scales[1] > kMinAxisLength &&
                            scales[2] > kMinAxisLength;
    setIdentity();
    if (!decomposes) {
        pre_ = m;
        dirty_ = true;
        return false;
    }
    if (math::Dot(x, math::Normalize(math::Cross(y, z))) < 0.0f) scales[0] = -scales[0];
    scale_ = {scales[0], scales[1], scales[2]};
    position_ = Row(m, 3);
    yAxis_ = y;
    zAxis_ = z;
    dirty_ = true;
    return true;
}
