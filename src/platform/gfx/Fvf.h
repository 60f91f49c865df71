#pragma once
// Where each element of a flexible-vertex-format vertex lies.

#include <array>
#include <cstdint>

namespace gfx {

struct VertexLayout {
    static constexpr int32_t kAbsent = -1;
    uint32_t stride = 0;
    bool pretransformed = false;  // XYZRHW: x, y in pixels, z in 0..1, then 1/w
    uint32_t blendWeights = 0;
    int32_t normal = kAbsent;
    int32_t pointSize = kAbsent;
    int32_t diffuse = kAbsent;
    int32_t specular = kAbsent;
    uint32_t texCoordSets = 0;
    std::array<int32_t, 8> texCoord{};
    std::array<uint32_t, 8> texCoordFloats{};  // 1 to 4
};

VertexLayout DescribeFvf(uint32_t fvf);

}  // namespace gfx
