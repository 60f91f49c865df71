#pragma once
// The benchmark's scene, described once for both renderers that draw it: a slightly curved grid
// of 50,000 triangles in front of the camera, lit by a point and a directional light, textured by
// two modulated stages and drawn in 100 batches whose world transform alternates.

#include <cstdint>
#include <vector>

#include "common/math/Math.h"

namespace bench {

inline constexpr uint32_t kBatches = 100;
inline constexpr uint32_t kColumns = 250;  // quads per grid row
inline constexpr uint32_t kRows = 100;     // 250 x 100 quads = 50,000 triangles
inline constexpr uint32_t kGridVertices = (kColumns + 1) * (kRows + 1);
inline constexpr uint32_t kTrianglesPerBatch = kColumns * kRows * 2 / kBatches;
inline constexpr uint32_t kTextureSize = 256;
inline constexpr uint32_t kClearColor = 0xFF102030;
inline constexpr uint32_t kAmbient = 0xFF202020;

struct GridVertex {
    float x, y, z;
    float nx, ny, nz;
    float u0, v0, u1, v1;
};

std::vector<GridVertex> GridVertices();
std::vector<uint32_t> GridIndices();
// Texel (x, y) of every mip level of texture 0 or 1, as an ARGB word.
uint32_t Texel(uint32_t texture, uint32_t x, uint32_t y);
// The texture stage `stage` samples in batch `batch`.
uint32_t TextureOf(uint32_t stage, uint32_t batch);
math::Mat4 Projection(uint32_t width, uint32_t height);
math::Mat4 World(uint32_t batch);

struct PointLight {
    float diffuse[3];
    float position[3];
    float range, attenuation0, attenuation1;
};
struct DirectionalLight {
    float diffuse[3];
    float direction[3];
};
inline constexpr PointLight kPointLight{{1, 0.9f, 0.8f}, {0, 0, 2}, 50, 0.5f, 0.05f};
inline constexpr DirectionalLight kSun{{0.3f, 0.3f, 0.4f}, {0.3f, -0.5f, 1}};

}  // namespace bench
