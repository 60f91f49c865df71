#pragma once
// The part of the device state that shapes the generated fixed-function shaders. Every field is
// a byte, so keys compare and hash as plain bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/StateDevice.h"

namespace gfx::gl {

struct StageKey {
    uint8_t colorOp = 0;  // 0 ends the cascade
    uint8_t colorArg[3] = {};
    uint8_t alphaOp = 0;
    uint8_t alphaArg[3] = {};
    uint8_t textured = 0;
    uint8_t texCoordSet = 0;
    uint8_t texCoordFloats = 0;  // of the set, 0 when the vertex lacks it
    uint8_t texGen = 0;          // D3DTSS_TCI_* >> 16
    uint8_t transformCount = 0;  // D3DTTFF_COUNTn, 0 for none
    uint8_t projected = 0;

    friend bool operator==(const StageKey&, const StageKey&) = default;
};

struct ShaderKey {
    uint8_t pretransformed = 0;
    uint8_t hasNormal = 0;
    uint8_t hasDiffuse = 0;
    uint8_t hasSpecular = 0;
    uint8_t lighting = 0;
    uint8_t lightCount = 0;
    uint8_t lightTypes[kMaxActiveLights] = {};
    // Material sources after COLORVERTEX and the vertex's colours were considered.
    uint8_t diffuseSource = 0;
    uint8_t ambientSource = 0;
    uint8_t specularSource = 0;
    uint8_t emissiveSource = 0;
    uint8_t specularEnable = 0;
    uint8_t normalizeNormals = 0;
    uint8_t localViewer = 0;
    uint8_t fogMode = 0;  // D3DFOG_* when fog is on, else 0
    uint8_t rangeFog = 0;
    uint8_t alphaFunc = 0;  // D3DCMP_* when the alpha test is on, else 0
    uint8_t flatShade = 0;
    StageKey stages[kMaxTextureStages] = {};

    friend bool operator==(const ShaderKey&, const ShaderKey&) = default;
};

struct ShaderKeyHash {
    size_t operator()(const ShaderKey& key) const;
};

// The key of the current state; also lists the enabled lights (first eight by index).
ShaderKey MakeShaderKey(const StateDevice& device, uint32_t (&lightIndexes)[kMaxActiveLights]);

std::string VertexShaderSource(const ShaderKey& key);
std::string FragmentShaderSource(const ShaderKey& key);

}  // namespace gfx::gl
