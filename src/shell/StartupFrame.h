#pragma once
// The startup picture's frames: the first one with the corner logos, and the fade to black.

#include "shell/FrameObserver.h"
#include "shell/RenderFramework.h"
#include "shell/StartupPicture.h"

class TextureManager;

// Loads the picture and its logos and presents the first frame (nothing without a device).
void ShowStartupPicture(RenderFramework& framework, StartupPicture& picture, TextureManager& textures,
                        FrameObserver* observer);
// Fades the picture out over 200 ms, a frame at a time, then releases it.
void FadeStartupPicture(RenderFramework& framework, StartupPicture& picture, FrameObserver* observer);
