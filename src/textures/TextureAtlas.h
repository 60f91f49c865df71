#pragma once
// Places sub-textures that came without a rectangle into free space of their parent's image.

#include <cstdint>
#include <vector>

#include "platform/gfx/Types.h"

class Texture;

struct AtlasBox {
    gfx::RECT rect;
    uint32_t width = 0, height = 0;
    bool placed = false;
    bool movable = false;  // placed by the packer, so it may be placed again
};

class TextureAtlas {
public:
    // Finds `sub` (sized by its own image) a place among `parent`'s subs, moving packed subs out
    // of the way where that helps. Sets the rectangles of `sub` and of every sub it moved.
    static bool Place(Texture& parent, Texture& sub);

    // The geometry alone: places `boxes[index]` inside `width` x `height`. Candidate places are
    // the four corners and the eight places around each placed box; the one that overlaps
    // least, then touches most edge length, wins. Movable boxes in the way of an overlapping
    // candidate are placed again, `depth` levels deep.
    static bool PlaceBox(std::vector<AtlasBox>& boxes, size_t index, int32_t width, int32_t height, int depth);
};
