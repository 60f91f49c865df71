#include "scene/StateBlock.h"

#include "platform/gfx/States.h"
#include "textures/Texture.h"

using namespace gfx;

bool OperationUsesArgument(uint32_t op, int k) {
    switch (op) {
        case D3DTOP_DISABLE:
        case StageState::kAutomatic:
            return false;
        case D3DTOP_SELECTARG1:
            return k == 1;
        case D3DTOP_SELECTARG2:
            return k == 2;
        case D3DTOP_MULTIPLYADD:
        case D3DTOP_LERP:
            return true;
        default:
            return k == 1 || k == 2;
    }
}

namespace {

gfx::Texture* DeviceTextureOf(const ::Texture* texture) { return texture ? texture->D3DTexture() : nullptr; }

bool UsedArgumentsEqual(uint32_t op, const uint32_t a[3], const uint32_t b[3]) {
    for (int k = 0; k < 3; ++k)
        if (OperationUsesArgument(op, k) && a[k] != b[k]) return false;
    return true;
}

}  // namespace

bool StagesEqual(const StageState& a, const StageState& b) {
    if (DeviceTextureOf(a.texture) != DeviceTextureOf(b.texture) || a.texCoordIndex != b.texCoordIndex ||
        a.addressU != b.addressU || a.addressV != b.addressV || a.minFilter != b.minFilter ||
        a.magFilter != b.magFilter || a.mipFilter != b.mipFilter || a.colorOp != b.colorOp || a.alphaOp != b.alphaOp) {
        return false;
    }
    const uint32_t colorA[3] = {a.colorArg0, a.colorArg1, a.colorArg2};
    const uint32_t colorB[3] = {b.colorArg0, b.colorArg1, b.colorArg2};
    const uint32_t alphaA[3] = {a.alphaArg0, a.alphaArg1, a.alphaArg2};
    const uint32_t alphaB[3] = {b.alphaArg0, b.alphaArg1, b.alphaArg2};
    return UsedArgumentsEqual(a.colorOp, colorA, colorB) && UsedArgumentsEqual(a.alphaOp, alphaA, alphaB);
}

bool TextureHasAlpha(const ::Texture* texture) {
    if (!texture) return false;
    switch (texture->LevelDesc().Format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_A8:
        case D3DFMT_A8R3G3B2:
        case D3DFMT_A2B10G10R10:
        case D3DFMT_A8B8G8R8:
        case D3DFMT_A2R10G10B10:
        case D3DFMT_A16B16G16R16:
        case D3DFMT_A8P8:
        case D3DFMT_A8L8:
        case D3DFMT_A4L4:
        case D3DFMT_A16B16G16R16F:
        case D3DFMT_A32B32G32R32F:
        case D3DFMT_DXT2:
        case D3DFMT_DXT3:
        case D3DFMT_DXT4:
        case D3DFMT_DXT5:
            return true;
        default:
            return false;
    }
}

StateBlock::StateBlock() {
    stages[0].colorOp = StageState::kAutomatic;
    stages[0].alphaOp = StageState::kAutomatic;
    for (int i = 0; i < kStages; ++i) stages[i].texCoordIndex = static_cast<uint32_t>(i);
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 1, 1, 1};
}

void StateBlock::setAlphaUse(int mode) {
    // Operation, argument 1 and argument 2 of each mode; kKeep leaves the argument as it is.
    constexpr uint32_t kKeep = ~0u;
    static constexpr uint32_t kModes[7][3] = {
        {D3DTOP_DISABLE, kKeep, kKeep},                   // none
        {D3DTOP_SELECTARG1, D3DTA_TFACTOR, kKeep},        // factor
        {D3DTOP_SELECTARG1, D3DTA_TEXTURE, kKeep},        // texture
        {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR},  // factor texture
        {D3DTOP_SELECTARG1, D3DTA_DIFFUSE, kKeep},        // diffuse
        {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TFACTOR},  // factor diffuse
        {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},  // diffuse texture
    };
    if (mode < 0 || mode > 6) return;
    const uint32_t* setup = kModes[mode];
    StageState& s = stages[0];
    s.alphaOp = setup[0];
    if (setup[1] != kKeep) s.alphaArg1 = setup[1];
    if (setup[2] != kKeep) s.alphaArg2 = setup[2];
}

bool StateBlock::usesAlpha() const {
    for (const StageState& s : stages) {
        if (s.alphaOp == D3DTOP_DISABLE) break;
        if (s.alphaOp != StageState::kAutomatic) return true;
        if (TextureHasAlpha(s.texture)) return true;
    }
    return false;
}
