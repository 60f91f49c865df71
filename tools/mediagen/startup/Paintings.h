#pragma once
// The pictures the saver shows while it loads.

#include "paint/Canvas.h"

// The clock room at night as a title card, 1024 x 768.
paint::Canvas PaintStartupPicture();
// The corner logo, 256 x 128 with a transparent background.
paint::Canvas PaintCornerLogo();
