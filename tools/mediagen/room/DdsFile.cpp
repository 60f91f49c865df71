#include "DdsFile.h"

#include <algorithm>

#include "common/LittleEndian.h"
#include "platform/gfx/loader/Dxt.h"
#include "platform/gfx/loader/Resample.h"

namespace room {

namespace {

constexpr uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPixelFormat = 0x1000, kMipMapCount = 0x20000,
                   kLinearSize = 0x80000;
constexpr uint32_t kFourCC = 0x4;
constexpr uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipMap = 0x400000;

}  // namespace

std::vector<uint8_t> EncodeDxt1Dds(const gfx::ArgbImage& image) {
    std::vector<gfx::ArgbImage> levels{image};
    while (levels.back().width > 1 || levels.back().height > 1) {
        const gfx::ArgbImage& last = levels.back();
        levels.push_back(gfx::Resize(last, std::max(1u, last.width / 2), std::max(1u, last.height / 2), gfx::D3DX_FILTER_BOX));
    }
    std::vector<uint8_t> out;
    out.reserve(128);
    AppendLe32(out, 0x20534444);  // "DDS "
    AppendLe32(out, 124);
    AppendLe32(out, kCaps | kHeight | kWidth | kPixelFormat | kMipMapCount | kLinearSize);
    AppendLe32(out, image.height);
    AppendLe32(out, image.width);
    AppendLe32(out, static_cast<uint32_t>(gfx::DxtLevelBytes(gfx::D3DFMT_DXT1, image.width, image.height)));
    AppendLe32(out, 0);  // depth
    AppendLe32(out, static_cast<uint32_t>(levels.size()));
    for (int i = 0; i < 11; ++i) AppendLe32(out, 0);
    AppendLe32(out, 32);  // pixel format size
    AppendLe32(out, kFourCC);
    AppendLe32(out, gfx::D3DFMT_DXT1);
    for (int i = 0; i < 5; ++i) AppendLe32(out, 0);
    AppendLe32(out, kCapsComplex | kCapsTexture | kCapsMipMap);
    for (int i = 0; i < 4; ++i) AppendLe32(out, 0);
    for (const gfx::ArgbImage& level : levels) {
        const size_t at = out.size();
        out.resize(at + gfx::DxtLevelBytes(gfx::D3DFMT_DXT1, level.width, level.height));
        const uint32_t blocksPerRow = (level.width + 3) / 4;
        gfx::EncodeDxt(gfx::D3DFMT_DXT1, level, out.data() + at, static_cast<int32_t>(blocksPerRow * 8));
    }
    return out;
}

}  // namespace room
