#pragma once
// The fixed-function set-up a renderable is drawn with: eight texture stages, blending, depth,
// culling, lighting, a texture-factor opacity and a material. Blocks are plain values, copied
// whole; the application edits the blocks of named nodes at run time.

#include <cstdint>

#include "platform/gfx/Types.h"

class Texture;

// One texture stage, with Direct3D's enumeration values.
struct StageState {
    // An operation decided when the block is applied, from the texture and lighting.
    static constexpr uint32_t kAutomatic = 100;

    uint32_t colorOp = 1;  // D3DTOP_DISABLE
    uint32_t alphaOp = 1;
    uint32_t colorArg0 = 0;  // D3DTA_DIFFUSE
    uint32_t colorArg1 = 2;  // D3DTA_TEXTURE
    uint32_t colorArg2 = 0;
    uint32_t alphaArg0 = 0;
    uint32_t alphaArg1 = 2;
    uint32_t alphaArg2 = 0;
    Texture* texture = nullptr;  // not owned: the scene or the application keeps it alive
    uint32_t texCoordIndex = 0;  // coordinate set, or'ed with D3DTSS_TCI_ flags
    uint32_t addressU = 1;       // D3DTADDRESS_WRAP
    uint32_t addressV = 1;
    uint32_t minFilter = 2;  // D3DTEXF_LINEAR
    uint32_t magFilter = 2;
    uint32_t mipFilter = 2;
};

// Whether operation `op` reads its argument `k` (0, 1 or 2).
bool OperationUsesArgument(uint32_t op, int k);
// Equal for sorting and state reuse: same device texture, coordinates, sampling, operations and
// the arguments those operations read.
bool StagesEqual(const StageState& a, const StageState& b);
// Whether the texture's image carries an alpha channel (false for null).
bool TextureHasAlpha(const Texture* texture);

struct StateBlock {
    static constexpr int kStages = 8;
    enum BlendMode : int32_t { kAlphaBlend = 0, kAdditive = 1 };

    // A fresh block: stage 0 automatic, stage i reading coordinate set i.
    StateBlock();

    // Stage-0 alpha from an AlphaUse mode 0 to 6 (bits: 1 factor, 2 texture, 4 diffuse).
    void setAlphaUse(int mode);
    // Alpha testing and blending are needed: a stage up to the first with alpha disabled has an
    // explicit alpha operation, or an automatic one over a texture with alpha.
    bool usesAlpha() const;

    StageState stages[kStages];
    int32_t blendMode = kAlphaBlend;
    uint32_t zFunc = 4;  // D3DCMP_LESSEQUAL
    uint32_t zWrite = 1;
    uint32_t cullMode = 3;  // D3DCULL_CCW
    float opacity = 1.0f;
    int32_t lit = 1;
    gfx::D3DMATERIAL9 material;
};

// Pushes `block` to the current device through the state cache, for vertices of format `fvf`.
// False when a device call failed (or there is no device).
bool ApplyStateBlock(const StateBlock& block, uint32_t fvf);
