#pragma once
// A request for a texture: where its image comes from, which creation parameters matter (the
// mask), and optionally which sub-texture or animation of it.

#include <cstdint>

#include "common/EngineString.h"
#include "platform/gfx/Types.h"
#include "resources/FileSource.h"

class Texture;

struct TextureDescriptor {
    // Bits of `mask`: which fields the request sets.
    enum Mask : uint32_t {
        kFormat = 0x01,
        kColorKey = 0x02,
        kSize = 0x04,
        kUsage = 0x08,
        kPool = 0x10,
        kFilter = 0x20,
        kLevels = 0x40,
        kSubName = 0x80,
        kSubRect = 0x100,
        kTexture = 0x200,
    };

    Texture* texture = nullptr;  // with kTexture: this texture instead of a source
    FileSource source;
    EngineString subName;
    gfx::RECT subRect;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 0;
    uint32_t usage = 0;
    gfx::D3DFORMAT format = gfx::D3DFMT_UNKNOWN;
    gfx::D3DPOOL pool = gfx::D3DPOOL_MANAGED;
    uint32_t filter = 0;
    uint32_t mipFilter = 0;
    gfx::D3DCOLOR colorKey = 0;
    bool keepData = false;   // disk sources: keep the file's bytes (else only the name)
    bool noShare = false;    // never take an existing texture
    bool findOnly = false;   // only take an existing texture
    bool clearSubs = false;  // a re-created texture forgets its sub-textures
    bool deferred = false;   // make the texture object without a device texture
    uint32_t mask = 0;

    bool Has(uint32_t bits) const { return (mask & bits) != 0; }
};
