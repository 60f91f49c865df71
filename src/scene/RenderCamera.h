#pragma once
// The camera block of a render pass: eye, direction, up, planes, field of view and aspect, and
// the matrices and view frustum built from them on the next request after any change.

#include "common/math/Math.h"
#include "scene/Matrix.h"
#include "scene/Renderable.h"

class RenderCamera final : public VisibilityTest {
public:
    math::Vec3 getEye() const { return eye_; }
    math::Vec3 getDirection() const { return direction_; }
    math::Vec3 getUp() const { return up_; }
    float getNearPlane() const { return nearPlane_; }
    float getFarPlane() const { return farPlane_; }
    float getFov() const { return fov_; }
    float getAspect() const { return aspect_; }

    void setEye(math::Vec3 eye);
    void setDirection(math::Vec3 direction);
    void setUp(math::Vec3 up);
    void setNearPlane(float nearPlane);
    void setFarPlane(float farPlane);
    // Vertical field of view in radians.
    void setFov(float fov);
    void setAspect(float aspect);
    // Eye at `eye`, looking at `at`.
    void lookAt(math::Vec3 eye, math::Vec3 at, math::Vec3 up);

    const Matrix& getView() const;
    const Matrix& getProjection() const;
    const Matrix& getViewProjection() const;
    // The corners at the near plane, then at the far plane, each in the order (-x,-y), (+x,-y),
    // (+x,+y), (-x,+y) of the screen.
    const math::Vec3* getFrustumCorners() const;

    // False only when the box lies wholly outside one of the frustum's four side planes.
    bool isVisible(const BoundingBox& box) const override;

private:
    struct Plane {
        math::Vec3 normal;  // pointing into the frustum
        float d = 0;        // normal . p + d >= 0 inside
    };
    void rebuild() const;

    math::Vec3 eye_{0, 0, 0};
    math::Vec3 direction_{0, 0, 1};
    math::Vec3 up_{0, 1, 0};
    float nearPlane_ = 1.0f;
    float farPlane_ = 1000.0f;
    float fov_ = 1.0471976f;
    float aspect_ = 0.75f;

    mutable bool dirty_ = true;
    mutable Matrix view_;
    mutable Matrix projection_;
    mutable Matrix viewProjection_;
    mutable math::Vec3 corners_[8];
    mutable Plane sides_[4];
};
