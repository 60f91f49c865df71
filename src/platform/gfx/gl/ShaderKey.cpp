#include "platform/gfx/gl/ShaderKey.h"

#include <cstring>
#include <type_traits>

#include "platform/gfx/Fvf.h"

namespace gfx::gl {
namespace {

// Which arguments (0, 1, 2) an operation reads.
bool UsesArg(uint32_t op, int arg) {
    switch (op) {
        case D3DTOP_SELECTARG1:
            return arg == 1;
        case D3DTOP_SELECTARG2:
            return arg == 2;
        case D3DTOP_MULTIPLYADD:
        case D3DTOP_LERP:
            return true;
        default:
            return arg != 0;
    }
}

bool OpReadsTexture(uint32_t op, const uint32_t (&args)[3]) {
    for (int i = 0; i < 3; ++i) {
        if (UsesArg(op, i) && (args[i] & D3DTA_SELECTMASK) == D3DTA_TEXTURE) return true;
    }
    return op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM;
}

// A material colour comes from the vertex only when COLORVERTEX is on and the vertex has it.
uint8_t Source(uint32_t state, bool colorVertex, bool hasDiffuse, bool hasSpecular) {
    if (!colorVertex) return D3DMCS_MATERIAL;
    if (state == D3DMCS_COLOR1 && hasDiffuse) return D3DMCS_COLOR1;
    if (state == D3DMCS_COLOR2 && hasSpecular) return D3DMCS_COLOR2;
    return D3DMCS_MATERIAL;
}

}  // namespace

size_t ShaderKeyHash::operator()(const ShaderKey& key) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&key);
    uint64_t hash = 1469598103934665603ull;
    for (size_t i = 0; i < sizeof(ShaderKey); ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return static_cast<size_t>(hash);
}

ShaderKey MakeShaderKey(const StateDevice& device, uint32_t (&lightIndexes)[kMaxActiveLights]) {
    static_assert(std::is_trivially_copyable_v<ShaderKey> && sizeof(StageKey) == 14);
    ShaderKey key;
    const VertexLayout layout = DescribeFvf(device.Fvf());
    key.pretransformed = layout.pretransformed;
    key.hasNormal = layout.normal != VertexLayout::kAbsent;
    key.hasDiffuse = layout.diffuse != VertexLayout::kAbsent;
    key.hasSpecular = layout.specular != VertexLayout::kAbsent;
    key.flatShade = device.RenderState(D3DRS_SHADEMODE) == D3DSHADE_FLAT;

    key.lighting = !layout.pretransformed && device.RenderState(D3DRS_LIGHTING) != 0;
    if (key.lighting) {
        for (const auto& [index, slot] : device.Lights()) {
            if (!slot.enabled || key.lightCount == kMaxActiveLights) continue;
            lightIndexes[key.lightCount] = index;
            key.lightTypes[key.lightCount++] = static_cast<uint8_t>(slot.light.Type);
        }
        const bool colorVertex = device.RenderState(D3DRS_COLORVERTEX) != 0;
        auto source = [&](D3DRENDERSTATETYPE state) {
            return Source(device.RenderState(state), colorVertex, key.hasDiffuse, key.hasSpecular);
        };
        key.diffuseSource = source(D3DRS_DIFFUSEMATERIALSOURCE);
        key.ambientSource = source(D3DRS_AMBIENTMATERIALSOURCE);
        key.specularSource = source(D3DRS_SPECULARMATERIALSOURCE);
        key.emissiveSource = source(D3DRS_EMISSIVEMATERIALSOURCE);
        key.normalizeNormals = device.RenderState(D3DRS_NORMALIZENORMALS) != 0;
        key.localViewer = device.RenderState(D3DRS_LOCALVIEWER) != 0;
    }
    key.specularEnable = device.RenderState(D3DRS_SPECULARENABLE) != 0;
    if (device.RenderState(D3DRS_FOGENABLE) && !layout.pretransformed) {
        const uint32_t table = device.RenderState(D3DRS_FOGTABLEMODE);
        key.fogMode = static_cast<uint8_t>(table != D3DFOG_NONE ? table : device.RenderState(D3DRS_FOGVERTEXMODE));
        key.rangeFog = device.RenderState(D3DRS_RANGEFOGENABLE) != 0;
    }
    if (device.RenderState(D3DRS_ALPHATESTENABLE)) key.alphaFunc = static_cast<uint8_t>(device.RenderState(D3DRS_ALPHAFUNC));

    for (uint32_t s = 0; s < kMaxTextureStages; ++s) {
        const uint32_t colorOp = device.StageState(s, D3DTSS_COLOROP);
        if (colorOp == D3DTOP_DISABLE || colorOp > D3DTOP_LERP) break;
        StageKey& stage = key.stages[s];
        const uint32_t colorArgs[3] = {device.StageState(s, D3DTSS_COLORARG0), device.StageState(s, D3DTSS_COLORARG1),
                                       device.StageState(s, D3DTSS_COLORARG2)};
        const uint32_t alphaArgs[3] = {device.StageState(s, D3DTSS_ALPHAARG0), device.StageState(s, D3DTSS_ALPHAARG1),
                                       device.StageState(s, D3DTSS_ALPHAARG2)};
        uint32_t alphaOp = device.StageState(s, D3DTSS_ALPHAOP);
        if (alphaOp > D3DTOP_LERP) alphaOp = D3DTOP_DISABLE;
        stage.colorOp = static_cast<uint8_t>(colorOp);
        stage.alphaOp = static_cast<uint8_t>(alphaOp);
        for (int i = 0; i < 3; ++i) {
            stage.colorArg[i] = static_cast<uint8_t>(colorArgs[i] & 0x3F);
            stage.alphaArg[i] = static_cast<uint8_t>(alphaArgs[i] & 0x3F);
        }
        const bool readsTexture = OpReadsTexture(colorOp, colorArgs) ||
                                  (alphaOp != D3DTOP_DISABLE && OpReadsTexture(alphaOp, alphaArgs));
        stage.textured = readsTexture && device.BoundTexture(s) != nullptr;
        if (stage.textured) {
            const uint32_t index = device.StageState(s, D3DTSS_TEXCOORDINDEX);
            stage.texCoordSet = static_cast<uint8_t>(index & 7);
            stage.texCoordFloats = stage.texCoordSet < layout.texCoordSets
                                       ? static_cast<uint8_t>(layout.texCoordFloats[stage.texCoordSet])
                                       : 0;
            stage.texGen = static_cast<uint8_t>((index >> 16) & 0xF);
            if (layout.pretransformed) stage.texGen = 0;
            const uint32_t flags = device.StageState(s, D3DTSS_TEXTURETRANSFORMFLAGS);
            if (!layout.pretransformed) {
                stage.transformCount = static_cast<uint8_t>(flags & 0xFF);
                stage.projected = (flags & D3DTTFF_PROJECTED) != 0;
            }
        }
    }
    return key;
}

}  // namespace gfx::gl
