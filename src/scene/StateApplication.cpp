// Turning a state block into device states, always through the state cache so that the many
// renderables sharing a set-up cost no device calls after the first.

#include "platform/gfx/States.h"
#include "textures/Texture.h"
#include "scene/DeviceStateCache.h"
#include "scene/StateBlock.h"

using namespace gfx;

namespace {

bool UsesTFactor(uint32_t op, uint32_t arg1, uint32_t arg2) {
    return (OperationUsesArgument(op, 1) && (arg1 & D3DTA_SELECTMASK) == D3DTA_TFACTOR) ||
           (OperationUsesArgument(op, 2) && (arg2 & D3DTA_SELECTMASK) == D3DTA_TFACTOR);
}

bool UsesTexture(uint32_t op, const uint32_t args[3]) {
    for (int k = 0; k < 3; ++k)
        if (OperationUsesArgument(op, k) && (args[k] & D3DTA_SELECTMASK) == D3DTA_TEXTURE) return true;
    return false;
}

// truncate(opacity x 255); out-of-range values (and NaN from a damaged file) are kept in a byte.
uint32_t OpacityByte(float opacity) {
    if (!(opacity > 0.0f)) return 0;
    if (opacity >= 1.0f) return 255;
    return static_cast<uint32_t>(opacity * 255.0f);
}

class Applier {
public:
    Applier(const StateBlock& block, uint32_t fvf) : block_(block), fvf_(fvf) {}

    bool run() {
        render(D3DRS_CULLMODE, block_.cullMode);
        render(D3DRS_ZFUNC, block_.zFunc);
        render(D3DRS_ZWRITEENABLE, block_.zWrite);
        ok_ = cache_.setMaterial(&block_.material) && ok_;

        const bool alpha = block_.usesAlpha();
        if (alpha) {
            render(D3DRS_ALPHAREF, 1);
            render(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
            render(D3DRS_ALPHATESTENABLE, 1);
        } else {
            render(D3DRS_ALPHATESTENABLE, 0);
        }
        if (alpha || block_.blendMode != StateBlock::kAlphaBlend) {
            render(D3DRS_ALPHABLENDENABLE, 1);
            render(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
            render(D3DRS_DESTBLEND, block_.blendMode == StateBlock::kAdditive ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
        } else {
            render(D3DRS_ALPHABLENDENABLE, 0);
        }

        if (explicitFactorAlpha()) {
            uint32_t factor = 0;
            cache_.getRenderState(D3DRS_TEXTUREFACTOR, factor);
            const uint32_t alphaByte = OpacityByte(block_.opacity);
            render(D3DRS_TEXTUREFACTOR, (factor & 0x00FFFFFF) | alphaByte << 24);
        }

        lit_ = block_.lit != 0 && (fvf_ & D3DFVF_NORMAL) != 0;
        render(D3DRS_LIGHTING, lit_ ? 1 : 0);
        // 145 as the engine has always set it: the diffuse source is the material when lit.
        render(D3DRS_DIFFUSEMATERIALSOURCE, lit_ ? 0 : 1);

        for (uint32_t i = 0; i < StateBlock::kStages; ++i) {
            stage(i, block_.stages[i]);
            if (block_.stages[i].colorOp == D3DTOP_DISABLE) break;
        }
        return ok_;
    }

private:
    void render(D3DRENDERSTATETYPE state, uint32_t value) { ok_ = cache_.setRenderState(state, value) && ok_; }
    void stageState(uint32_t i, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
        ok_ = cache_.setTextureStageState(i, type, value) && ok_;
    }
    void sampler(uint32_t i, D3DSAMPLERSTATETYPE type, uint32_t value) {
        ok_ = cache_.setSamplerState(i, type, value) && ok_;
    }

    bool explicitFactorAlpha() const {
        for (const StageState& s : block_.stages) {
            if (s.colorOp == D3DTOP_DISABLE) break;
            if (s.alphaOp != StageState::kAutomatic && UsesTFactor(s.alphaOp, s.alphaArg1, s.alphaArg2)) return true;
        }
        return false;
    }

    void stage(uint32_t i, const StageState& s) {
        const uint32_t colorArgs[3] = {s.colorArg0, s.colorArg1, s.colorArg2};
        const uint32_t alphaArgs[3] = {s.alphaArg0, s.alphaArg1, s.alphaArg2};
        const bool textureUsed = s.texture && (s.colorOp == StageState::kAutomatic || s.alphaOp == StageState::kAutomatic ||
                                               UsesTexture(s.colorOp, colorArgs) || UsesTexture(s.alphaOp, alphaArgs));
        const bool textured = s.texture != nullptr;
        if (textureUsed) {
            stageState(i, D3DTSS_TEXCOORDINDEX, s.texCoordIndex);
            const TextureMatrix matrix = s.texture->TexCoordMatrix();
            if (matrix.kind == 7) {
                stageState(i, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
            } else {
                stageState(i, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
                ok_ = cache_.setTransform(D3DTS_TEXTURE(i), matrix.m) && ok_;
            }
            ok_ = cache_.setTexture(i, s.texture->D3DTexture()) && ok_;
            sampler(i, D3DSAMP_ADDRESSU, s.addressU);
            sampler(i, D3DSAMP_ADDRESSV, s.addressV);
            sampler(i, D3DSAMP_MINFILTER, s.minFilter);
            sampler(i, D3DSAMP_MAGFILTER, s.magFilter);
            sampler(i, D3DSAMP_MIPFILTER, s.mipFilter);
        } else {
            ok_ = cache_.setTexture(i, nullptr) && ok_;
        }

        if (s.colorOp == StageState::kAutomatic) {
            if (i > 0) {
                stageState(i, D3DTSS_COLORARG1, D3DTA_CURRENT);
                stageState(i, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
                stageState(i, D3DTSS_COLORARG2, textured ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
            } else {
                stageState(i, D3DTSS_COLORARG1, textured ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
                if (textured && (lit_ || (fvf_ & D3DFVF_DIFFUSE))) {
                    stageState(i, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
                    stageState(i, D3DTSS_COLOROP, D3DTOP_MODULATE);
                } else {
                    stageState(i, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
                }
            }
        } else {
            static constexpr D3DTEXTURESTAGESTATETYPE kColorArgs[3] = {D3DTSS_COLORARG0, D3DTSS_COLORARG1,
                                                                       D3DTSS_COLORARG2};
            stageState(i, D3DTSS_COLOROP, s.colorOp);
            for (int k = 0; k < 3; ++k)
                if (OperationUsesArgument(s.colorOp, k)) stageState(i, kColorArgs[k], colorArgs[k]);
        }

        if (s.alphaOp != StageState::kAutomatic) {
            static constexpr D3DTEXTURESTAGESTATETYPE kAlphaArgs[3] = {D3DTSS_ALPHAARG0, D3DTSS_ALPHAARG1,
                                                                       D3DTSS_ALPHAARG2};
            stageState(i, D3DTSS_ALPHAOP, s.alphaOp);
            for (int k = 0; k < 3; ++k) {
                if (!OperationUsesArgument(s.alphaOp, k)) continue;
                stageState(i, kAlphaArgs[k], alphaArgs[k]);
                if ((alphaArgs[k] & D3DTA_SELECTMASK) == D3DTA_TFACTOR) factorInUse_ = true;
            }
            return;
        }
        const bool textureAlpha = textured && TextureHasAlpha(s.texture);
        const bool factorAlpha = !factorInUse_ && block_.opacity != 1.0f;
        if (!textureAlpha && !factorAlpha) {
            stageState(i, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        } else if (textureAlpha && factorAlpha) {
            stageState(i, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
            stageState(i, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            stageState(i, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
            factorInUse_ = true;
        } else {
            const uint32_t source = textureAlpha ? D3DTA_TEXTURE : D3DTA_TFACTOR;
            if (factorAlpha) factorInUse_ = true;
            if (i == 0) {
                stageState(i, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
                stageState(i, D3DTSS_ALPHAARG1, source);
            } else {
                stageState(i, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
                stageState(i, D3DTSS_ALPHAARG1, D3DTA_CURRENT);
                stageState(i, D3DTSS_ALPHAARG2, source);
            }
        }
    }

    const StateBlock& block_;
    uint32_t fvf_;
    DeviceStateCache& cache_ = DeviceStateCache::Get();
    bool lit_ = false;
    bool factorInUse_ = false;
    bool ok_ = true;
};

}  // namespace

bool ApplyStateBlock(const StateBlock& block, uint32_t fvf) { return Applier(block, fvf).run(); }
