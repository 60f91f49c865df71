// GLSL for the fixed-function pipeline of one state key: Direct3D 9 lighting, texture-coordinate
// generation and transforms per vertex; the texture-stage cascade, specular add, fog and alpha
// test per pixel.

#include <string>

#include "platform/gfx/gl/ShaderKey.h"

namespace gfx::gl {
namespace {

const char* const kUniformBlock = R"(
struct Light {
    vec4 diffuse;
    vec4 specular;
    vec4 ambient;
    vec4 position;   // camera space
    vec4 direction;  // camera space, normalised
    vec4 params0;    // range, falloff, attenuation 0, attenuation 1
    vec4 params1;    // attenuation 2, cos(theta / 2), cos(phi / 2)
};
layout(std140) uniform FixedFunction {
    mat4 projection;
    mat4 textureMatrix[8];
    vec4 materialDiffuse;
    vec4 materialAmbient;
    vec4 materialSpecular;
    vec4 materialEmissive;
    vec4 globalAmbient;
    vec4 textureFactor;
    vec4 fogColor;
    vec4 fogParams;  // start, end, density
    vec4 misc;       // alpha reference (0..255), specular power, 1 / width, 1 / height
    Light lights[8];
};
)";

std::string N(int value) { return std::to_string(value); }

std::string Interpolation(const ShaderKey& key) { return key.flatShade ? "flat " : ""; }

// A material colour from the material or a vertex colour.
std::string MaterialColor(uint8_t source, const char* material) {
    if (source == D3DMCS_COLOR1) return "inDiffuse";
    if (source == D3DMCS_COLOR2) return "inSpecular";
    return material;
}

// Unlit: the vertex's own colours, opaque white and black when it has none.
void AppendVertexColors(const ShaderKey& key, std::string& s) {
    s += std::string("    vDiffuse = ") + (key.hasDiffuse ? "inDiffuse" : "vec4(1.0)") + ";\n";
    s += std::string("    vSpecular = ") + (key.hasSpecular ? "inSpecular" : "vec4(0.0)") + ";\n";
}

void AppendLighting(const ShaderKey& key, std::string& s) {
    s += "    vec4 matDiffuse = " + MaterialColor(key.diffuseSource, "materialDiffuse") + ";\n";
    s += "    vec4 matAmbient = " + MaterialColor(key.ambientSource, "materialAmbient") + ";\n";
    s += "    vec4 matSpecular = " + MaterialColor(key.specularSource, "materialSpecular") + ";\n";
    s += "    vec4 matEmissive = " + MaterialColor(key.emissiveSource, "materialEmissive") + ";\n";
    s += "    vec3 ambientSum = vec3(0.0), diffuseSum = vec3(0.0), specularSum = vec3(0.0);\n";
    for (int i = 0; i < key.lightCount; ++i) {
        const std::string l = "lights[" + N(i) + "]";
        s += "    {\n        vec3 L; float att = 1.0; float spot = 1.0;\n";
        if (key.lightTypes[i] == D3DLIGHT_DIRECTIONAL) {
            s += "        L = -" + l + ".direction.xyz;\n";
        } else {
            s += "        vec3 toLight = " + l + ".position.xyz - P;\n";
            s += "        float dist = length(toLight);\n";
            s += "        L = dist > 0.0 ? toLight / dist : vec3(0.0);\n";
            s += "        float denom = " + l + ".params0.z + " + l + ".params0.w * dist + " + l +
                 ".params1.x * dist * dist;\n";
            s += "        att = dist > " + l + ".params0.x ? 0.0 : 1.0 / max(denom, 1e-20);\n";
            if (key.lightTypes[i] == D3DLIGHT_SPOT) {
                s += "        float rho = dot(" + l + ".direction.xyz, -L);\n";
                s += "        float cosTheta = " + l + ".params1.y, cosPhi = " + l + ".params1.z;\n";
                s += "        if (rho <= cosPhi) spot = 0.0;\n";
                s += "        else if (rho <= cosTheta) spot = " + l + ".params0.y == 0.0 ? 1.0 : pow((rho - cosPhi) / "
                     "(cosTheta - cosPhi), " + l + ".params0.y);\n";
            }
        }
        s += "        float nDotL = max(dot(Nrm, L), 0.0);\n";
        s += "        float scale = att * spot;\n";
        s += "        ambientSum += scale * " + l + ".ambient.rgb;\n";
        s += "        diffuseSum += scale * nDotL * " + l + ".diffuse.rgb;\n";
        if (key.specularEnable) {
            s += key.localViewer ? "        vec3 H = normalize(L - normalize(P));\n"
                                 : "        vec3 H = normalize(L + vec3(0.0, 0.0, -1.0));\n";
            s += "        if (nDotL > 0.0) specularSum += scale * pow(max(dot(Nrm, H), 0.0), misc.y) * " + l +
                 ".specular.rgb;\n";
        }
        s += "    }\n";
    }
    s += "    vDiffuse = clamp(vec4(matEmissive.rgb + matAmbient.rgb * (globalAmbient.rgb + ambientSum) + "
         "matDiffuse.rgb * diffuseSum, matDiffuse.a), 0.0, 1.0);\n";
    s += "    vSpecular = clamp(vec4(matSpecular.rgb * specularSum, matSpecular.a), 0.0, 1.0);\n";
}

void AppendTexCoords(const ShaderKey& key, std::string& s) {
    for (int i = 0; i < static_cast<int>(kMaxTextureStages); ++i) {
        const StageKey& stage = key.stages[i];
        if (!stage.textured) continue;
        const std::string in = "inTex" + N(stage.texCoordSet);
        std::string source;
        switch (stage.texGen) {
            case 1:
                source = "vec4(Nrm, 1.0)";
                break;
            case 2:
                source = "vec4(P, 1.0)";
                break;
            case 3:
                source = "vec4(reflect(normalize(P), Nrm), 1.0)";
                break;
            case 4:
                // The view-space reflection onto a sphere facing the camera (camera looks down +z).
                s += "    vec3 R" + N(i) + " = reflect(normalize(P), Nrm);\n";
                s += "    float m" + N(i) + " = 2.0 * sqrt(R" + N(i) + ".x * R" + N(i) + ".x + R" + N(i) + ".y * R" +
                     N(i) + ".y + (R" + N(i) + ".z - 1.0) * (R" + N(i) + ".z - 1.0));\n";
                source = "vec4(R" + N(i) + ".x / m" + N(i) + " + 0.5, -R" + N(i) + ".y / m" + N(i) + " + 0.5, 1.0, 0.0)";
                break;
            default:
                // Missing components: the first becomes 1, the rest 0, as the transform expects.
                switch (stage.texCoordFloats) {
                    case 1:
                        source = "vec4(" + in + ".x, 1.0, 0.0, 0.0)";
                        break;
                    case 2:
                        source = "vec4(" + in + ".xy, 1.0, 0.0)";
                        break;
                    case 3:
                        source = "vec4(" + in + ".xyz, 1.0)";
                        break;
                    case 4:
                        source = in;
                        break;
                    default:
                        source = "vec4(0.0)";
                }
        }
        if (stage.transformCount != 0) {
            s += "    vTex" + N(i) + " = textureMatrix[" + N(i) + "] * " + source + ";\n";
            if (stage.projected && stage.transformCount >= 2) {
                s += "    vTex" + N(i) + ".xy /= vTex" + N(i) + "[" + N(stage.transformCount - 1) + "];\n";
            }
        } else {
            s += "    vTex" + N(i) + " = " + source + ";\n";
        }
    }
}

bool NeedsNormal(const ShaderKey& key) {
    if (key.lighting) return true;
    for (const StageKey& stage : key.stages) {
        if (stage.textured && stage.texGen != 0 && stage.texGen != 2) return true;
    }
    return false;
}

std::string Arg(uint8_t arg, int stage) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
            value = "diffuse";
            break;
        case D3DTA_CURRENT:
            value = "current";
            break;
        case D3DTA_TEXTURE:
            value = "tex" + N(stage);
            break;
        case D3DTA_TFACTOR:
            value = "textureFactor";
            break;
        case D3DTA_SPECULAR:
            value = "specular";
            break;
        case D3DTA_TEMP:
            value = "temp";
            break;
        default:
            value = "vec4(0.0)";
    }
    if (arg & D3DTA_ALPHAREPLICATE) value = "vec4(" + value + ".a)";
    if (arg & D3DTA_COMPLEMENT) value = "(vec4(1.0) - " + value + ")";
    return value;
}

std::string Operation(uint8_t op, const uint8_t (&args)[3], int stage) {
    const std::string a0 = Arg(args[0], stage), a1 = Arg(args[1], stage), a2 = Arg(args[2], stage);
    const std::string tex = "tex" + N(stage);
    switch (op) {
        case D3DTOP_SELECTARG1:
            return a1;
        case D3DTOP_SELECTARG2:
            return a2;
        case D3DTOP_MODULATE:
            return a1 + " * " + a2;
        case D3DTOP_MODULATE2X:
            return "2.0 * " + a1 + " * " + a2;
        case D3DTOP_MODULATE4X:
            return "4.0 * " + a1 + " * " + a2;
        case D3DTOP_ADD:
            return a1 + " + " + a2;
        case D3DTOP_ADDSIGNED:
            return a1 + " + " + a2 + " - vec4(0.5)";
        case D3DTOP_ADDSIGNED2X:
            return "2.0 * (" + a1 + " + " + a2 + " - vec4(0.5))";
        case D3DTOP_SUBTRACT:
            return a1 + " - " + a2;
        case D3DTOP_ADDSMOOTH:
            return a1 + " + " + a2 + " - " + a1 + " * " + a2;
        case D3DTOP_BLENDDIFFUSEALPHA:
            return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
        case D3DTOP_BLENDTEXTUREALPHA:
            return "mix(" + a2 + ", " + a1 + ", " + tex + ".a)";
        case D3DTOP_BLENDFACTORALPHA:
            return "mix(" + a2 + ", " + a1 + ", textureFactor.a)";
        case D3DTOP_BLENDTEXTUREALPHAPM:
            return a1 + " + " + a2 + " * (1.0 - " + tex + ".a)";
        case D3DTOP_BLENDCURRENTALPHA:
            return "mix(" + a2 + ", " + a1 + ", current.a)";
        case D3DTOP_MODULATEALPHA_ADDCOLOR:
            return a1 + " + " + a1 + ".a * " + a2;
        case D3DTOP_MODULATECOLOR_ADDALPHA:
            return a1 + " * " + a2 + " + vec4(" + a1 + ".a)";
        case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
            return "(1.0 - " + a1 + ".a) * " + a2 + " + " + a1;
        case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
            return "(vec4(1.0) - " + a1 + ") * " + a2 + " + vec4(" + a1 + ".a)";
        case D3DTOP_DOTPRODUCT3:
            return "vec4(4.0 * dot(" + a1 + ".rgb - vec3(0.5), " + a2 + ".rgb - vec3(0.5)))";
        case D3DTOP_MULTIPLYADD:
            return a0 + " + " + a1 + " * " + a2;
        case D3DTOP_LERP:
            return a0 + " * " + a1 + " + (vec4(1.0) - " + a0 + ") * " + a2;
        default:  // premodulate and bump mapping are not emulated: pass the stage through
            return "current";
    }
}

const char* Comparison(uint8_t func) {
    switch (func) {
        case D3DCMP_LESS:
            return "<";
        case D3DCMP_EQUAL:
            return "==";
        case D3DCMP_LESSEQUAL:
            return "<=";
        case D3DCMP_GREATER:
            return ">";
        case D3DCMP_NOTEQUAL:
            return "!=";
        case D3DCMP_GREATEREQUAL:
            return ">=";
        default:
            return nullptr;
    }
}

}  // namespace

std::string VertexShaderSource(const ShaderKey& key) {
    std::string s = "#version 330 core\n";
    s += kUniformBlock;
    s += "uniform mat4 object[2];  // world-view, and its inverse transposed for normals\n";
    s += "layout(location = 0) in vec4 inPosition;\n"
         "layout(location = 1) in vec3 inNormal;\n"
         "layout(location = 2) in vec4 inDiffuse;\n"
         "layout(location = 3) in vec4 inSpecular;\n";
    for (int i = 0; i < 8; ++i) s += "layout(location = " + N(4 + i) + ") in vec4 inTex" + N(i) + ";\n";
    s += Interpolation(key) + "out vec4 vDiffuse;\n" + Interpolation(key) + "out vec4 vSpecular;\n";
    s += "out float vFog;\n";
    for (int i = 0; i < 8; ++i) {
        if (key.stages[i].textured) s += "out vec4 vTex" + N(i) + ";\n";
    }
    s += "void main() {\n    vFog = 1.0;\n";
    if (key.pretransformed) {
        // Pixels with y down and centres on integers; z in 0..1; w = 1 / rhw. The target is drawn
        // upside down (row 0 on top), so y keeps its direction.
        s += "    float w = inPosition.w != 0.0 ? 1.0 / inPosition.w : 1.0;\n"
             "    vec2 ndc = vec2((inPosition.x + 0.5) * misc.z * 2.0 - 1.0, (inPosition.y + 0.5) * misc.w * 2.0 - 1.0);\n"
             "    gl_Position = vec4(ndc * w, (inPosition.z * 2.0 - 1.0) * w, w);\n";
        AppendVertexColors(key, s);
        s += "    vec3 P = vec3(0.0);\n    vec3 Nrm = vec3(0.0);\n";
    } else {
        s += "    vec4 P4 = object[0] * vec4(inPosition.xyz, 1.0);\n"
             "    vec3 P = P4.xyz;\n"
             "    vec4 clip = projection * P4;\n"
             // The target is upside down; Direct3D's pixel centres lie half a pixel off OpenGL's;
             // its depth runs 0..w.
             "    clip.x += clip.w * misc.z;\n"
             "    clip.y = clip.w * misc.w - clip.y;\n"
             "    clip.z = 2.0 * clip.z - clip.w;\n"
             "    gl_Position = clip;\n";
        if (NeedsNormal(key)) {
            s += std::string("    vec3 Nrm = ") + (key.hasNormal ? "(object[1] * vec4(inNormal, 0.0)).xyz" : "vec3(0.0)") +
                 ";\n";
            if (key.normalizeNormals) s += "    if (dot(Nrm, Nrm) > 0.0) Nrm = normalize(Nrm);\n";
        } else {
            s += "    vec3 Nrm = vec3(0.0);\n";
        }
        if (key.lighting) {
            AppendLighting(key, s);
        } else {
            AppendVertexColors(key, s);
        }
        if (key.fogMode != 0) {
            s += std::string("    float d = ") + (key.rangeFog ? "length(P)" : "P.z") + ";\n";
            switch (key.fogMode) {
                case D3DFOG_EXP:
                    s += "    vFog = clamp(exp(-fogParams.z * d), 0.0, 1.0);\n";
                    break;
                case D3DFOG_EXP2:
                    s += "    vFog = clamp(exp(-(fogParams.z * d) * (fogParams.z * d)), 0.0, 1.0);\n";
                    break;
                case D3DFOG_LINEAR:
                    s += "    vFog = fogParams.y == fogParams.x ? (d < fogParams.x ? 1.0 : 0.0) : "
                         "clamp((fogParams.y - d) / (fogParams.y - fogParams.x), 0.0, 1.0);\n";
                    break;
                default:
                    break;
            }
        }
    }
    AppendTexCoords(key, s);
    s += "}\n";
    return s;
}

std::string FragmentShaderSource(const ShaderKey& key) {
    std::string s = "#version 330 core\n";
    s += kUniformBlock;
    s += Interpolation(key) + "in vec4 vDiffuse;\n" + Interpolation(key) + "in vec4 vSpecular;\n";
    s += "in float vFog;\n";
    for (int i = 0; i < 8; ++i) {
        if (key.stages[i].textured) s += "in vec4 vTex" + N(i) + ";\nuniform sampler2D uTex" + N(i) + ";\n";
    }
    s += "layout(location = 0) out vec4 outColor;\n";
    s += "void main() {\n"
         "    vec4 diffuse = vDiffuse;\n"
         "    vec4 specular = vSpecular;\n"
         "    vec4 current = diffuse;\n"
         "    vec4 temp = vec4(0.0);\n";
    for (int i = 0; i < static_cast<int>(kMaxTextureStages); ++i) {
        const StageKey& stage = key.stages[i];
        if (stage.colorOp == 0) break;
        const std::string tex = "tex" + N(i);
        s += "    {\n";
        s += "        vec4 " + tex + " = " + (stage.textured ? "texture(uTex" + N(i) + ", vTex" + N(i) + ".xy)" : "vec4(1.0)") +
             ";\n";
        s += "        vec4 colorResult = " + Operation(stage.colorOp, stage.colorArg, i) + ";\n";
        if (stage.colorOp == D3DTOP_DOTPRODUCT3) {
            s += "        float alphaResult = colorResult.a;\n";
        } else if (stage.alphaOp == D3DTOP_DISABLE) {
            s += "        float alphaResult = current.a;\n";  // drivers pass the previous alpha on
        } else {
            s += "        float alphaResult = (" + Operation(stage.alphaOp, stage.alphaArg, i) + ").a;\n";
        }
        s += "        current = clamp(vec4(colorResult.rgb, alphaResult), 0.0, 1.0);\n";
        s += "    }\n";
    }
    if (key.specularEnable) s += "    current.rgb = clamp(current.rgb + specular.rgb, 0.0, 1.0);\n";
    if (key.fogMode != 0) s += "    current.rgb = mix(fogColor.rgb, current.rgb, vFog);\n";
    if (key.alphaFunc == D3DCMP_NEVER) {
        s += "    discard;\n";
    } else if (const char* op = Comparison(key.alphaFunc)) {
        s += "    if (!(floor(current.a * 255.0 + 0.5) " + std::string(op) + " misc.x)) discard;\n";
    }
    s += "    outColor = current;\n}\n";
    return s;
}

}  // namespace gfx::gl
