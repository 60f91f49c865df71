#pragma once
// A node's local transform kept as parts (a free "pre" matrix, scale, two rotation axes and a
// position) so the application can turn or move one part; the matrix is composed on demand.

#include "scene/Matrix.h"

class NodeTransform {
public:
    const Matrix& getPre() const { return pre_; }
    math::Vec3 getScale() const { return scale_; }
    math::Vec3 getZAxis() const { return zAxis_; }
    math::Vec3 getYAxis() const { return yAxis_; }
    math::Vec3 getPosition() const { return position_; }

    void setPre(const Matrix& pre);
    void setScale(math::Vec3 scale);
    void setZAxis(math::Vec3 zAxis);
    void setYAxis(math::Vec3 yAxis);
    void setPosition(math::Vec3 position);
    // Unit scale, unit axes, zero position and an identity pre matrix.
    void setIdentity();

    // pre x scale x rotation-and-position, rebuilt only after a setter ran.
    const Matrix& getMatrix() const;
    // The rotation rows the matrix uses: normalize(y x z), y and z, each axis normalised.
    void getRotationRows(math::Vec3 rows[3]) const;

    // Splits `m` into parts. When the axes cannot be recovered, keeps identity parts with the
    // whole matrix as `pre` and returns false; the transform then still reproduces `m`.
    bool decompose(const Matrix& m);

private:
    Matrix pre_;
    math::Vec3 scale_{1, 1, 1};
    math::Vec3 zAxis_{0, 0, 1};
    math::Vec3 yAxis_{0, 1, 0};
    math::Vec3 position_;
    mutable Matrix cached_;
    mutable bool dirty_ = false;  // the cached identity matches the identity parts
};
