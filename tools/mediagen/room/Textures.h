#pragma once
// The room's surface textures, painted from code. Colours are authored dark and soft: the default
// gamma ramp lifts black to about 30 % grey, and the light maps multiply them in twice.

#include <string>
#include <vector>

#include "paint/Canvas.h"

namespace room {

struct TextureDef {
    std::string file;     // name in the media folder
    paint::Canvas picture;
    bool alpha = false;   // kept with its alpha channel (PNG), otherwise block-compressed
};

std::vector<TextureDef> PaintTextures();

// Those with a painting of their own (Dial.cpp, Scenery.cpp).
paint::Canvas PaintDial(int size);
paint::Canvas PaintLandscape(int width, int height);
paint::Canvas PaintDefaultPicture(int size);
paint::Canvas PaintRug(int size);

}  // namespace room
