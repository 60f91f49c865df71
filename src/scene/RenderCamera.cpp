#include "scene/RenderCamera.h"

using math::Vec3;

void RenderCamera::setEye(Vec3 eye) {
    eye_ = eye;
    dirty_ = true;
}

void RenderCamera::setDirection(Vec3 direction) {
    direction_ = direction;
    dirty_ = true;
}

void RenderCamera::setUp(Vec3 up) {
    up_ = up;
    dirty_ = true;
}

void RenderCamera::setNearPlane(float nearPlane) {
    nearPlane_ = nearPlane;
    dirty_ = true;
}

void RenderCamera::setFarPlane(float farPlane) {
    farPlane_ = farPlane;
    dirty_ = true;
}

void RenderCamera::setFov(float fov) {
    fov_ = fov;
    dirty_ = true;
}

void RenderCamera::setAspect(float aspect) {
    aspect_ = aspect;
    dirty_ = true;
}

void RenderCamera::lookAt(Vec3 eye, Vec3 at, Vec3 up) {
    eye_ = eye;
    direction_ = at - eye;
    up_ = up;
    dirty_ = true;
}

const Matrix& RenderCamera::getView() const {
    if (dirty_) rebuild();
    return view_;
}

const Matrix& RenderCamera::getProjection() const {
    if (dirty_) rebuild();
    return projection_;
}

const Matrix& RenderCamera::getViewProjection() const {
    if (dirty_) rebuild();
    return viewProjection_;
}

const Vec3* RenderCamera::getFrustumCorners() const {
    if (dirty_) rebuild();
    return corners_;
}

void RenderCamera::rebuild() const {
    dirty_ = false;
    projection_ = Matrix::General(math::PerspectiveFovLH(fov_, aspect_, nearPlane_, farPlane_));
    view_ = Matrix::General(math::LookAtLH(eye_, eye_ + direction_, up_));
    viewProjection_ = view_ * projection_;

    math::Mat4 inverse;
    if (!math::Inverse(viewProjection_.m, inverse)) {
        // A degenerate camera sees nothing in particular: let every box through.
        for (Vec3& c : corners_) c = eye_;
        for (Plane& p : sides_) p = {{0, 0, 0}, 1.0f};
        return;
    }
    static constexpr float kScreen[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 8; ++i)
        corners_[i] = math::TransformCoord({kScreen[i % 4][0], kScreen[i % 4][1], i < 4 ? 0.0f : 1.0f}, inverse);

    Vec3 centre;
    for (const Vec3& c : corners_) centre += c * 0.125f;
    // Each side plane passes through two near corners and one far corner of its edge.
    for (int side = 0; side < 4; ++side) {
        const Vec3& a = corners_[side];
        const Vec3& b = corners_[(side + 1) % 4];
        const Vec3& c = corners_[4 + side];
        Vec3 normal = math::Normalize(math::Cross(b - a, c - a));
        float d = -math::Dot(normal, a);
        if (math::Dot(normal, centre) + d < 0) {
            normal = -normal;
            d = -d;
        }
        sides_[side] = {normal, d};
    }
}

bool RenderCamera::isVisible(const BoundingBox& box) const {
    if (dirty_) rebuild();
    for (const Plane& p : sides_) {
        // The box corner farthest along the plane's normal.
        const Vec3 farthest{p.normal.x >= 0 ? box.max.x : box.min.x, p.normal.y >= 0 ? box.max.y : box.min.y,
                            p.normal.z >= 0 ? box.max.z : box.min.z};
        if (math::Dot(p.normal, farthest) + p.d < 0) return false;
    }
    return true;
}
