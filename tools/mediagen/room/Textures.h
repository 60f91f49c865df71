#pragma once
// The room's surface textures, painted from code. Colours are authored dark and soft: the default
// gamma ramp lifts black to about 30 % grey, and the light maps multiply them in twice.

#include <string>
#include <vector>

#include "Painter.h"

namespace room {

struct TextureDef {
    std::string file;     // name in the media folder
    Picture picture;
    bool alpha = false;   // kept with its alpha channel (PNG), otherwise block-compressed
};

std::vector<TextureDef> PaintTextures();

// Those with a painting of their own (Dial.cpp, Scenery.cpp).
Picture PaintDial(int size);
Picture PaintLandscape(int width, int height);
Picture PaintDefaultPicture(int size);
Picture PaintRug(int size);

}  // namespace room
