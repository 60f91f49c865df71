#pragma once
// Flies the fallback camera (the one used while no camera path plays) from the keyboard and
// mouse, for tools built on the engine. In the saver the same inputs end the program.

#include "common/math/Math.h"

class InputSystem;

// Where a camera stands and where it looks.
struct CameraPose {
    math::Vec3 position;
    math::Vec3 forward{0.0f, 0.0f, 1.0f};
    math::Vec3 up{0.0f, 1.0f, 0.0f};
};

class CameraControl {
public:
    static constexpr float kDefaultSpeed = 2.0f;
    static constexpr float kDefaultSensitivity = 1.0f;

    // Drives `camera` from `input` with the default speed and look sensitivity.
    void Attach(const InputSystem* input, CameraPose* camera);
    void SetSpeed(float speed) { speed_ = speed; }
    float Speed() const { return speed_; }
    // One step per main-loop pass.
    void Update();

private:
    const InputSystem* input_ = nullptr;
    CameraPose* camera_ = nullptr;
    float speed_ = kDefaultSpeed;
    float sensitivity_ = kDefaultSensitivity;
};
