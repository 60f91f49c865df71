#pragma once
// The ten camera paths: keys of position and view target, written as the path files' "pos" and
// "rot" keys (time, then position or orientation, then four or three zeros).

#include <string>
#include <vector>

#include "Model.h"
#include "common/math/Math.h"

namespace room {

struct CameraKey {
    float time;
    math::Vec3 position;
    math::Vec3 target;
};

struct CameraPath {
    std::string file;
    Piece subject;  // what the path films, and so may come close to
    std::vector<CameraKey> keys;
};

std::vector<CameraPath> CameraPaths();

// The orientation that turns the camera's +z to look along `forward` with y kept up.
math::Quat LookRotation(math::Vec3 forward);

bool WriteCameraPath(const std::string& path, const CameraPath& cameraPath);

}  // namespace room
