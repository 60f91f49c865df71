#pragma once
// The frame's camera: the view from this frame's pose, and the fade through black at the ends of
// a camera path.

#include "platform/gfx/Device.h"
#include "shell/CameraControl.h"
#include "shell/CameraPathPlayer.h"

void SetViewTransform(const CameraPose& camera);
// False when the fade was due but could not be drawn.
bool DrawPathFade(gfx::Device& device, const CameraPathPlayer& paths);
