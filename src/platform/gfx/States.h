#pragma once
// Render, texture-stage, sampler and transform state numbers and their values, as Direct3D 9
// numbers them, and the flexible vertex format bits.

#include <cstdint>

namespace gfx {

enum D3DRENDERSTATETYPE : uint32_t {
    D3DRS_ZENABLE = 7,
    D3DRS_FILLMODE = 8,
    D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_ALPHATESTENABLE = 15,
    D3DRS_LASTPIXEL = 16,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHAREF = 24,
    D3DRS_ALPHAFUNC = 25,
    D3DRS_DITHERENABLE = 26,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_FOGCOLOR = 34,
    D3DRS_FOGTABLEMODE = 35,
    D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37,
    D3DRS_FOGDENSITY = 38,
    D3DRS_RANGEFOGENABLE = 48,
    D3DRS_STENCILENABLE = 52,
    D3DRS_TEXTUREFACTOR = 60,
    D3DRS_CLIPPING = 136,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_FOGVERTEXMODE = 140,
    D3DRS_COLORVERTEX = 141,
    D3DRS_LOCALVIEWER = 142,
    D3DRS_NORMALIZENORMALS = 143,
    D3DRS_DIFFUSEMATERIALSOURCE = 145,
    D3DRS_SPECULARMATERIALSOURCE = 146,
    D3DRS_AMBIENTMATERIALSOURCE = 147,
    D3DRS_EMISSIVEMATERIALSOURCE = 148,
    D3DRS_VERTEXBLEND = 151,
    D3DRS_POINTSIZE = 154,
    D3DRS_MULTISAMPLEANTIALIAS = 161,
    D3DRS_COLORWRITEENABLE = 168,
    D3DRS_BLENDOP = 171,
    D3DRS_SCISSORTESTENABLE = 174,
    D3DRS_BLENDFACTOR = 193,
    D3DRS_DEPTHBIAS = 195,
    D3DRS_SEPARATEALPHABLENDENABLE = 206,
    D3DRS_SRCBLENDALPHA = 207,
    D3DRS_DESTBLENDALPHA = 208,
    D3DRS_BLENDOPALPHA = 209,
};
// The bounds of every state table, the device's and the state cache's alike: numbers at or above
// them are refused. Render states: the highest Direct3D 9 number is 209.
inline constexpr uint32_t kRenderStateCount = 256;

enum D3DTEXTURESTAGESTATETYPE : uint32_t {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    D3DTSS_TEXTURETRANSFORMFLAGS = 24,
    D3DTSS_COLORARG0 = 26,
    D3DTSS_ALPHAARG0 = 27,
    D3DTSS_RESULTARG = 28,
    D3DTSS_CONSTANT = 32,
};
inline constexpr uint32_t kTextureStageStateCount = 33;

enum D3DSAMPLERSTATETYPE : uint32_t {
    D3DSAMP_ADDRESSU = 1,
    D3DSAMP_ADDRESSV = 2,
    D3DSAMP_ADDRESSW = 3,
    D3DSAMP_BORDERCOLOR = 4,
    D3DSAMP_MAGFILTER = 5,
    D3DSAMP_MINFILTER = 6,
    D3DSAMP_MIPFILTER = 7,
    D3DSAMP_MIPMAPLODBIAS = 8,
    D3DSAMP_MAXMIPLEVEL = 9,
    D3DSAMP_MAXANISOTROPY = 10,
};
inline constexpr uint32_t kSamplerStateCount = 14;

inline constexpr uint32_t kMaxTextureStages = 8;
inline constexpr uint32_t kMaxActiveLights = 8;

enum D3DTRANSFORMSTATETYPE : uint32_t {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_TEXTURE0 = 16,
    D3DTS_TEXTURE7 = 23,
    D3DTS_WORLD = 256,
};
constexpr D3DTRANSFORMSTATETYPE D3DTS_TEXTURE(uint32_t stage) {
    return static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + stage);
}
constexpr D3DTRANSFORMSTATETYPE D3DTS_WORLDMATRIX(uint32_t index) {
    return static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_WORLD + index);
}
inline constexpr uint32_t kWorldMatrixCount = 256;
// The transforms kept: view, projection, textures 0-7 and world 0-255, packed into this many slots.
inline constexpr uint32_t kTransformSlotCount = 2 + kMaxTextureStages + kWorldMatrixCount;
// The slot of a transform, or false for a number no device keeps.
constexpr bool TransformSlot(D3DTRANSFORMSTATETYPE state, uint32_t& slot) {
    if (state == D3DTS_VIEW || state == D3DTS_PROJECTION) {
        slot = state - D3DTS_VIEW;
    } else if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + kMaxTextureStages) {
        slot = 2 + (state - D3DTS_TEXTURE0);
    } else if (state >= D3DTS_WORLD && state < D3DTS_WORLD + kWorldMatrixCount) {
        slot = 2 + kMaxTextureStages + (state - D3DTS_WORLD);
    } else {
        return false;
    }
    return true;
}

// Texture operations.
enum D3DTEXTUREOP : uint32_t {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
    D3DTOP_MODULATE4X = 6,
    D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8,
    D3DTOP_ADDSIGNED2X = 9,
    D3DTOP_SUBTRACT = 10,
    D3DTOP_ADDSMOOTH = 11,
    D3DTOP_BLENDDIFFUSEALPHA = 12,
    D3DTOP_BLENDTEXTUREALPHA = 13,
    D3DTOP_BLENDFACTORALPHA = 14,
    D3DTOP_BLENDTEXTUREALPHAPM = 15,
    D3DTOP_BLENDCURRENTALPHA = 16,
    D3DTOP_PREMODULATE = 17,
    D3DTOP_MODULATEALPHA_ADDCOLOR = 18,
    D3DTOP_MODULATECOLOR_ADDALPHA = 19,
    D3DTOP_MODULATEINVALPHA_ADDCOLOR = 20,
    D3DTOP_MODULATEINVCOLOR_ADDALPHA = 21,
    D3DTOP_BUMPENVMAP = 22,
    D3DTOP_BUMPENVMAPLUMINANCE = 23,
    D3DTOP_DOTPRODUCT3 = 24,
    D3DTOP_MULTIPLYADD = 25,
    D3DTOP_LERP = 26,
};

// Texture arguments and modifiers.
inline constexpr uint32_t D3DTA_SELECTMASK = 0x0F;
inline constexpr uint32_t D3DTA_DIFFUSE = 0;
inline constexpr uint32_t D3DTA_CURRENT = 1;
inline constexpr uint32_t D3DTA_TEXTURE = 2;
inline constexpr uint32_t D3DTA_TFACTOR = 3;
inline constexpr uint32_t D3DTA_SPECULAR = 4;
inline constexpr uint32_t D3DTA_TEMP = 5;
inline constexpr uint32_t D3DTA_CONSTANT = 6;
inline constexpr uint32_t D3DTA_COMPLEMENT = 0x10;
inline constexpr uint32_t D3DTA_ALPHAREPLICATE = 0x20;

// Texture-coordinate index flags.
inline constexpr uint32_t D3DTSS_TCI_PASSTHRU = 0x00000;
inline constexpr uint32_t D3DTSS_TCI_CAMERASPACENORMAL = 0x10000;
inline constexpr uint32_t D3DTSS_TCI_CAMERASPACEPOSITION = 0x20000;
inline constexpr uint32_t D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR = 0x30000;
inline constexpr uint32_t D3DTSS_TCI_SPHEREMAP = 0x40000;

// Texture transform flags.
inline constexpr uint32_t D3DTTFF_DISABLE = 0;
inline constexpr uint32_t D3DTTFF_COUNT1 = 1;
inline constexpr uint32_t D3DTTFF_COUNT2 = 2;
inline constexpr uint32_t D3DTTFF_COUNT3 = 3;
inline constexpr uint32_t D3DTTFF_COUNT4 = 4;
inline constexpr uint32_t D3DTTFF_PROJECTED = 256;

// Comparison functions.
inline constexpr uint32_t D3DCMP_NEVER = 1;
inline constexpr uint32_t D3DCMP_LESS = 2;
inline constexpr uint32_t D3DCMP_EQUAL = 3;
inline constexpr uint32_t D3DCMP_LESSEQUAL = 4;
inline constexpr uint32_t D3DCMP_GREATER = 5;
inline constexpr uint32_t D3DCMP_NOTEQUAL = 6;
inline constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
inline constexpr uint32_t D3DCMP_ALWAYS = 8;

// Blend factors and operations.
inline constexpr uint32_t D3DBLEND_ZERO = 1;
inline constexpr uint32_t D3DBLEND_ONE = 2;
inline constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
inline constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
inline constexpr uint32_t D3DBLEND_SRCALPHA = 5;
inline constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
inline constexpr uint32_t D3DBLEND_DESTALPHA = 7;
inline constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
inline constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
inline constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;
inline constexpr uint32_t D3DBLEND_SRCALPHASAT = 11;
inline constexpr uint32_t D3DBLEND_BOTHSRCALPHA = 12;
inline constexpr uint32_t D3DBLEND_BOTHINVSRCALPHA = 13;
inline constexpr uint32_t D3DBLEND_BLENDFACTOR = 14;
inline constexpr uint32_t D3DBLEND_INVBLENDFACTOR = 15;

inline constexpr uint32_t D3DBLENDOP_ADD = 1;
inline constexpr uint32_t D3DBLENDOP_SUBTRACT = 2;
inline constexpr uint32_t D3DBLENDOP_REVSUBTRACT = 3;
inline constexpr uint32_t D3DBLENDOP_MIN = 4;
inline constexpr uint32_t D3DBLENDOP_MAX = 5;

inline constexpr uint32_t D3DCULL_NONE = 1;
inline constexpr uint32_t D3DCULL_CW = 2;
inline constexpr uint32_t D3DCULL_CCW = 3;

inline constexpr uint32_t D3DFILL_POINT = 1;
inline constexpr uint32_t D3DFILL_WIREFRAME = 2;
inline constexpr uint32_t D3DFILL_SOLID = 3;

inline constexpr uint32_t D3DZB_FALSE = 0;
inline constexpr uint32_t D3DZB_TRUE = 1;

inline constexpr uint32_t D3DFOG_NONE = 0;
inline constexpr uint32_t D3DFOG_EXP = 1;
inline constexpr uint32_t D3DFOG_EXP2 = 2;
inline constexpr uint32_t D3DFOG_LINEAR = 3;

inline constexpr uint32_t D3DMCS_MATERIAL = 0;
inline constexpr uint32_t D3DMCS_COLOR1 = 1;
inline constexpr uint32_t D3DMCS_COLOR2 = 2;

inline constexpr uint32_t D3DSHADE_FLAT = 1;
inline constexpr uint32_t D3DSHADE_GOURAUD = 2;

inline constexpr uint32_t D3DTADDRESS_WRAP = 1;
inline constexpr uint32_t D3DTADDRESS_MIRROR = 2;
inline constexpr uint32_t D3DTADDRESS_CLAMP = 3;
inline constexpr uint32_t D3DTADDRESS_BORDER = 4;
inline constexpr uint32_t D3DTADDRESS_MIRRORONCE = 5;

inline constexpr uint32_t D3DTEXF_NONE = 0;
inline constexpr uint32_t D3DTEXF_POINT = 1;
inline constexpr uint32_t D3DTEXF_LINEAR = 2;
inline constexpr uint32_t D3DTEXF_ANISOTROPIC = 3;
inline constexpr uint32_t D3DTEXF_PYRAMIDALQUAD = 6;
inline constexpr uint32_t D3DTEXF_GAUSSIANQUAD = 7;

// Flexible vertex format.
inline constexpr uint32_t D3DFVF_POSITION_MASK = 0x400E;
inline constexpr uint32_t D3DFVF_XYZ = 0x002;
inline constexpr uint32_t D3DFVF_XYZRHW = 0x004;
inline constexpr uint32_t D3DFVF_XYZB1 = 0x006;
inline constexpr uint32_t D3DFVF_XYZB2 = 0x008;
inline constexpr uint32_t D3DFVF_XYZB3 = 0x00A;
inline constexpr uint32_t D3DFVF_XYZB4 = 0x00C;
inline constexpr uint32_t D3DFVF_XYZB5 = 0x00E;
inline constexpr uint32_t D3DFVF_XYZW = 0x4002;
inline constexpr uint32_t D3DFVF_NORMAL = 0x010;
inline constexpr uint32_t D3DFVF_PSIZE = 0x020;
inline constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
inline constexpr uint32_t D3DFVF_SPECULAR = 0x080;
inline constexpr uint32_t D3DFVF_TEXCOUNT_MASK = 0xF00;
inline constexpr uint32_t D3DFVF_TEXCOUNT_SHIFT = 8;
inline constexpr uint32_t D3DFVF_LASTBETA_UBYTE4 = 0x1000;
inline constexpr uint32_t D3DFVF_LASTBETA_D3DCOLOR = 0x8000;
constexpr uint32_t D3DFVF_TEX(uint32_t count) { return count << D3DFVF_TEXCOUNT_SHIFT; }
inline constexpr uint32_t D3DFVF_TEX0 = 0x000;
inline constexpr uint32_t D3DFVF_TEX1 = 0x100;
inline constexpr uint32_t D3DFVF_TEX2 = 0x200;
inline constexpr uint32_t D3DFVF_TEX3 = 0x300;
inline constexpr uint32_t D3DFVF_TEX4 = 0x400;
// Size codes of texture-coordinate set k (bits 16 + 2k).
inline constexpr uint32_t D3DFVF_TEXTUREFORMAT2 = 0;
inline constexpr uint32_t D3DFVF_TEXTUREFORMAT3 = 1;
inline constexpr uint32_t D3DFVF_TEXTUREFORMAT4 = 2;
inline constexpr uint32_t D3DFVF_TEXTUREFORMAT1 = 3;
constexpr uint32_t D3DFVF_TEXCOORDSIZE(uint32_t format, uint32_t set) { return format << (set * 2 + 16); }

}  // namespace gfx
