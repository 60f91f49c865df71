#include "shell/CameraControl.h"

#include "platform/sys/DirectInputKeys.h"
#include "shell/InputSystem.h"

namespace {
// Pointer travel, in pixels, that turns the camera by one radian.
constexpr float kPixelsPerRadianAcross = 160.0f;
constexpr float kPixelsPerRadianUpDown = 100.0f;
}  // namespace

void CameraControl::Attach(const InputSystem* input, CameraPose* camera) {
    input_ = input;
    camera_ = camera;
    speed_ = kDefaultSpeed;
    sensitivity_ = kDefaultSensitivity;
}

void CameraControl::Update() {
    if (!input_ || !camera_ || !input_->HasFocus()) return;
    CameraPose& camera = *camera_;
    const math::Vec3 forward = math::Normalize(camera.forward);
    const math::Vec3 up = math::Normalize(camera.up);
    const math::Vec3 side = math::Normalize(math::Cross(forward, up));
    if (input_->IsLeftButtonDown()) camera.position += forward * speed_;
    if (input_->IsRightButtonDown()) camera.position -= forward * speed_;
    if (input_->IsKeyDown(sys::DIK_A)) camera.position += side * speed_;
    if (input_->IsKeyDown(sys::DIK_D)) camera.position -= side * speed_;
    if (input_->IsKeyDown(sys::DIK_W)) camera.position += up * speed_;
    if (input_->IsKeyDown(sys::DIK_S)) camera.position -= up * speed_;
    if (!input_->IsKeyDown(sys::DIK_LSHIFT) && !input_->IsKeyDown(sys::DIK_LCONTROL)) return;
    const float yaw = input_->MoveX() / kPixelsPerRadianAcross * sensitivity_;
    const float pitch = input_->MoveY() / kPixelsPerRadianUpDown * sensitivity_;
    if (yaw == 0.0f && pitch == 0.0f) return;
    // Turn about the camera's own side and up axes: the pointer moved right turns the view right,
    // moved down looks down.
    const math::Mat4 turn = math::Multiply(math::RotationAxis(side, -pitch), math::RotationAxis(up, -yaw));
    camera.forward = math::Normalize(math::TransformNormal(forward, turn));
    camera.up = math::Normalize(math::TransformNormal(up, turn));
}
