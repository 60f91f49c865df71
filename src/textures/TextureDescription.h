#pragma once
// Texture description files: a text value tree naming an image, its creation parameters,
// sub-textures and frame animations.

#include <cstdint>
#include <string_view>

#include "platform/gfx/Types.h"
#include "resources/FileSearchList.h"
#include "resources/FileSource.h"

class Texture;
class UdfTextNode;

// Parses the description file `source` names and applies it to `texture`. `searchList` finds
// the files it includes and may be null.
bool LoadTextureDescription(Texture& texture, FileSource& source, const FileSearchList* searchList);

// Value names of the description keys; anything else gives the stated fallback.
gfx::D3DFORMAT DescriptionFormat(std::string_view name);                   // D3DFMT_UNKNOWN
uint32_t DescriptionFilter(std::string_view name, uint32_t fallback);
gfx::D3DPOOL DescriptionPool(std::string_view name);                       // D3DPOOL_MANAGED
// An integer ARGB word, or red, green and blue from an array or object ("0"/"r", "1"/"g",
// "2"/"b") made opaque.
gfx::D3DCOLOR DescriptionColorKey(const UdfTextNode& value);
