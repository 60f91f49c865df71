#include "platform/gfx/Fvf.h"

#include "platform/gfx/States.h"

namespace gfx {

VertexLayout DescribeFvf(uint32_t fvf) {
    VertexLayout layout;
    uint32_t offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ:
            offset = 12;
            break;
        case D3DFVF_XYZRHW:
        case D3DFVF_XYZW:
            layout.pretransformed = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
            offset = 16;
            break;
        case D3DFVF_XYZB1:
        case D3DFVF_XYZB2:
        case D3DFVF_XYZB3:
        case D3DFVF_XYZB4:
        case D3DFVF_XYZB5:
            layout.blendWeights = ((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZRHW) / 2;
            offset = 12 + 4 * layout.blendWeights;
            break;
        default:
            break;
    }
    auto take = [&offset](uint32_t bytes) {
        const int32_t at = static_cast<int32_t>(offset);
        offset += bytes;
        return at;
    };
    if (fvf & D3DFVF_NORMAL) layout.normal = take(12);
    if (fvf & D3DFVF_PSIZE) layout.pointSize = take(4);
    if (fvf & D3DFVF_DIFFUSE) layout.diffuse = take(4);
    if (fvf & D3DFVF_SPECULAR) layout.specular = take(4);
    layout.texCoordSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (layout.texCoordSets > 8) layout.texCoordSets = 8;
    layout.texCoord.fill(VertexLayout::kAbsent);
    for (uint32_t set = 0; set < layout.texCoordSets; ++set) {
        static constexpr uint32_t kFloats[4] = {2, 3, 4, 1};
        layout.texCoordFloats[set] = kFloats[(fvf >> (16 + 2 * set)) & 3];
        layout.texCoord[set] = take(4 * layout.texCoordFloats[set]);
    }
    layout.stride = offset;
    return layout;
}

}  // namespace gfx
