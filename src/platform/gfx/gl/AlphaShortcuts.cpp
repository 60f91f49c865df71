#include "platform/gfx/gl/AlphaShortcuts.h"

#include "platform/gfx/gl/GlResources.h"

namespace gfx::gl {
namespace {

// The interpolated diffuse colour's alpha, as the vertex shader of `key` makes it.
bool DiffuseAlphaIsOne(const ShaderKey& key, const StateDevice& device) {
    if (key.lighting) return key.diffuseSource == D3DMCS_MATERIAL && device.Material().Diffuse.a >= 1.0f;
    return !key.hasDiffuse;  // without a vertex colour the shader uses opaque white
}

struct CascadeInputs {
    bool diffuse;
    bool current;
};

// Only the arguments whose alpha is exactly 1 when they are; anything else counts as below 1.
bool ArgAlphaIsOne(uint8_t arg, uint32_t stage, const ShaderKey& key, const StateDevice& device,
                   const CascadeInputs& inputs) {
    if (arg & D3DTA_COMPLEMENT) return false;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
            return inputs.diffuse;
        case D3DTA_CURRENT:
            return inputs.current;
        case D3DTA_TEXTURE:
            // An untextured stage reads opaque white.
            return !key.stages[stage].textured || static_cast<const GlTexture*>(device.BoundTexture(stage))->AlphaIsOne();
        case D3DTA_TFACTOR:
            return (device.RenderState(D3DRS_TEXTUREFACTOR) >> 24) == 0xFF;
        default:
            return false;
    }
}

}  // namespace

bool AlphaIsOne(const ShaderKey& key, const StateDevice& device) {
    CascadeInputs inputs{DiffuseAlphaIsOne(key, device), false};
    inputs.current = inputs.diffuse;
    for (uint32_t s = 0; s < kMaxTextureStages && key.stages[s].colorOp != 0; ++s) {
        const StageKey& stage = key.stages[s];
        if (stage.colorOp == D3DTOP_DOTPRODUCT3) return false;  // its alpha is the dot product
        if (stage.alphaOp == D3DTOP_DISABLE) continue;
        const bool a1 = ArgAlphaIsOne(stage.alphaArg[1], s, key, device, inputs);
        const bool a2 = ArgAlphaIsOne(stage.alphaArg[2], s, key, device, inputs);
        switch (stage.alphaOp) {
            case D3DTOP_SELECTARG1:
                inputs.current = a1;
                break;
            case D3DTOP_SELECTARG2:
                inputs.current = a2;
                break;
            case D3DTOP_MODULATE:
            case D3DTOP_MODULATE2X:
            case D3DTOP_MODULATE4X:
                inputs.current = a1 && a2;  // 1, 2 or 4, clamped to 1
                break;
            case D3DTOP_ADD:
                inputs.current = a1 || a2;  // every argument is at least 0; the sum is clamped
                break;
            default:
                inputs.current = false;
        }
    }
    return inputs.current;
}

bool AlphaTestPassesAtOne(const StateDevice& device) {
    if (!device.RenderState(D3DRS_ALPHATESTENABLE)) return true;
    const uint32_t reference = device.RenderState(D3DRS_ALPHAREF) & 0xFF;
    switch (device.RenderState(D3DRS_ALPHAFUNC)) {
        case D3DCMP_NEVER:
        case D3DCMP_LESS:
            return false;
        case D3DCMP_EQUAL:
        case D3DCMP_LESSEQUAL:
            return reference == 0xFF;
        case D3DCMP_GREATER:
        case D3DCMP_NOTEQUAL:
            return reference != 0xFF;
        default:  // GREATEREQUAL, ALWAYS, and values the shader does not test
            return true;
    }
}

bool BlendReplacesAtOne(const StateDevice& device) {
    if (!device.RenderState(D3DRS_ALPHABLENDENABLE)) return true;
    if (device.RenderState(D3DRS_SEPARATEALPHABLENDENABLE) || device.RenderState(D3DRS_BLENDOP) != D3DBLENDOP_ADD) {
        return false;
    }
    const uint32_t source = device.RenderState(D3DRS_SRCBLEND);
    if (source == D3DBLEND_BOTHSRCALPHA) return true;  // its destination factor is 1 - source alpha
    const uint32_t destination = device.RenderState(D3DRS_DESTBLEND);
    return (source == D3DBLEND_SRCALPHA || source == D3DBLEND_ONE) &&
           (destination == D3DBLEND_INVSRCALPHA || destination == D3DBLEND_ZERO);
}

}  // namespace gfx::gl
