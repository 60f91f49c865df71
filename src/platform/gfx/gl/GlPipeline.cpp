#include "platform/gfx/gl/GlPipeline.h"

#include <algorithm>
#include <bit>

namespace gfx::gl {
namespace {

GLenum BlendFactor(uint32_t blend) {
    switch (blend) {
        case D3DBLEND_ZERO:
            return GL_ZERO;
        case D3DBLEND_SRCCOLOR:
            return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR:
            return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA:
        case D3DBLEND_BOTHSRCALPHA:
            return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA:
        case D3DBLEND_BOTHINVSRCALPHA:
            return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA:
            return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA:
            return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR:
            return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR:
            return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT:
            return GL_SRC_ALPHA_SATURATE;
        case D3DBLEND_BLENDFACTOR:
            return GL_CONSTANT_COLOR;
        case D3DBLEND_INVBLENDFACTOR:
            return GL_ONE_MINUS_CONSTANT_COLOR;
        default:
            return GL_ONE;
    }
}

// BOTHSRCALPHA and BOTHINVSRCALPHA as a source factor fix the destination factor too.
GLenum DestinationFactor(uint32_t source, uint32_t destination) {
    if (source == D3DBLEND_BOTHSRCALPHA) return GL_ONE_MINUS_SRC_ALPHA;
    if (source == D3DBLEND_BOTHINVSRCALPHA) return GL_SRC_ALPHA;
    return BlendFactor(destination);
}

GLenum BlendEquation(uint32_t op) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT:
            return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT:
            return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN:
            return GL_MIN;
        case D3DBLENDOP_MAX:
            return GL_MAX;
        default:
            return GL_FUNC_ADD;
    }
}

// D3DCMP_NEVER..ALWAYS follow GL_NEVER..GL_ALWAYS in the same order.
GLenum CompareFunction(uint32_t func) { return func >= 1 && func <= 8 ? GL_NEVER + (func - 1) : GL_ALWAYS; }

GLint AddressMode(uint32_t mode) {
    switch (mode) {
        case D3DTADDRESS_MIRROR:
        case D3DTADDRESS_MIRRORONCE:
            return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER:
            return GL_CLAMP_TO_BORDER;
        default:
            return GL_REPEAT;
    }
}

}  // namespace

void ApplyPipelineStates(const StateDevice& device, bool hasDepthBuffer, bool blend) {
    if (hasDepthBuffer && device.RenderState(D3DRS_ZENABLE) != D3DZB_FALSE) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(CompareFunction(device.RenderState(D3DRS_ZFUNC)));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(device.RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);

    if (blend && device.RenderState(D3DRS_ALPHABLENDENABLE)) {
        glEnable(GL_BLEND);
        const uint32_t source = device.RenderState(D3DRS_SRCBLEND);
        const uint32_t destination = device.RenderState(D3DRS_DESTBLEND);
        if (device.RenderState(D3DRS_SEPARATEALPHABLENDENABLE)) {
            const uint32_t sourceAlpha = device.RenderState(D3DRS_SRCBLENDALPHA);
            glBlendFuncSeparate(BlendFactor(source), DestinationFactor(source, destination), BlendFactor(sourceAlpha),
                                DestinationFactor(sourceAlpha, device.RenderState(D3DRS_DESTBLENDALPHA)));
            glBlendEquationSeparate(BlendEquation(device.RenderState(D3DRS_BLENDOP)),
                                    BlendEquation(device.RenderState(D3DRS_BLENDOPALPHA)));
        } else {
            glBlendFunc(BlendFactor(source), DestinationFactor(source, destination));
            glBlendEquation(BlendEquation(device.RenderState(D3DRS_BLENDOP)));
        }
        const uint32_t factor = device.RenderState(D3DRS_BLENDFACTOR);
        glBlendColor(static_cast<float>((factor >> 16) & 0xFF) / 255.0f, static_cast<float>((factor >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(factor & 0xFF) / 255.0f, static_cast<float>(factor >> 24) / 255.0f);
    } else {
        glDisable(GL_BLEND);
    }

    // Direct3D culls by the winding seen on screen. The target is drawn upside down (so that
    // OpenGL's edge rules match Direct3D's top-left rule), which mirrors every winding: what
    // looks clockwise on screen is counter-clockwise in the target.
    switch (device.RenderState(D3DRS_CULLMODE)) {
        case D3DCULL_CW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CW);
            glCullFace(GL_BACK);
            break;
        case D3DCULL_CCW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CCW);
            glCullFace(GL_BACK);
            break;
        default:
            glDisable(GL_CULL_FACE);
    }

    switch (device.RenderState(D3DRS_FILLMODE)) {
        case D3DFILL_POINT:
            glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
            break;
        case D3DFILL_WIREFRAME:
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            break;
        default:
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    const uint32_t mask = device.RenderState(D3DRS_COLORWRITEENABLE);
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    glPointSize(std::max(1.0f, std::bit_cast<float>(device.RenderState(D3DRS_POINTSIZE))));
    glDisable(GL_SCISSOR_TEST);
    CheckErrors("ApplyPipelineStates");
}

void ApplySamplerStates(const StateDevice& device, uint32_t stage, GLuint sampler, bool anisotropy) {
    auto state = [&](D3DSAMPLERSTATETYPE type) { return device.SamplerState(stage, type); };
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, AddressMode(state(D3DSAMP_ADDRESSU)));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, AddressMode(state(D3DSAMP_ADDRESSV)));
    const uint32_t border = state(D3DSAMP_BORDERCOLOR);
    const float borderColor[4] = {static_cast<float>((border >> 16) & 0xFF) / 255.0f,
                                  static_cast<float>((border >> 8) & 0xFF) / 255.0f,
                                  static_cast<float>(border & 0xFF) / 255.0f, static_cast<float>(border >> 24) / 255.0f};
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, borderColor);

    // NONE and POINT sample the nearest texel; LINEAR, ANISOTROPIC and the quad filters filter.
    const bool linearMin = state(D3DSAMP_MINFILTER) >= D3DTEXF_LINEAR;
    const bool linearMag = state(D3DSAMP_MAGFILTER) >= D3DTEXF_LINEAR;
    GLint minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
    switch (state(D3DSAMP_MIPFILTER)) {
        case D3DTEXF_NONE:
            break;
        case D3DTEXF_POINT:
            minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
            break;
        default:
            minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, linearMag ? GL_LINEAR : GL_NEAREST);
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, std::bit_cast<float>(state(D3DSAMP_MIPMAPLODBIAS)));
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(state(D3DSAMP_MAXMIPLEVEL)));
    if (anisotropy) {
        const bool anisotropic = state(D3DSAMP_MINFILTER) == D3DTEXF_ANISOTROPIC;
        glSamplerParameterf(sampler, kMaxTextureAnisotropy,
                            anisotropic ? static_cast<float>(std::max(1u, state(D3DSAMP_MAXANISOTROPY))) : 1.0f);
    }
    CheckErrors("ApplySamplerStates");
}

}  // namespace gfx::gl
