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

// Those with a painting of their own (Dial.cpp, Scenery.cpp, WindowPictures.cpp).
paint::Canvas PaintDial(int size);
// What the window shows (see WindowView.cpp): the landscape (the sky and the hills, which are
// also a picture of their own, clear above the ridges), a tile of the clouds, and tiles of rain.
paint::Canvas PaintLandscape(int width, int height);
paint::Canvas PaintHills(int width, int height);
paint::Canvas PaintClouds(int width, int height);
paint::Canvas PaintRainDrops(int size);
paint::Canvas PaintRainTrickles(int size);
paint::Canvas PaintDefaultPicture(int size);
paint::Canvas PaintRug(int size);

}  // namespace room
