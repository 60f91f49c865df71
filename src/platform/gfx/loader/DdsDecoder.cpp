// DDS files: DXT1/3/5 blocks kept as stored, and uncompressed 8- to 32-bit pixels described by
// channel masks (RGB, luminance, alpha). Every size in the header is checked against the data
// before anything is read; volume textures are refused, of a cube map the first face is taken.

#include <algorithm>
#include <bit>

#include "common/LittleEndian.h"
#include "platform/gfx/Resources.h"
#include "platform/gfx/loader/Dxt.h"
#include "platform/gfx/loader/Image.h"

namespace gfx {

namespace {

constexpr size_t kHeaderEnd = 128;  // magic and the 124-byte header
constexpr uint32_t kFlagMipMapCount = 0x20000;
constexpr uint32_t kPixelAlphaPixels = 0x1;
constexpr uint32_t kPixelAlpha = 0x2;
constexpr uint32_t kPixelFourCC = 0x4;
constexpr uint32_t kPixelRgb = 0x40;
constexpr uint32_t kPixelLuminance = 0x20000;
constexpr uint32_t kCaps2Volume = 0x200000;

uint32_t Read32(std::span<const uint8_t> file, size_t offset) {
    return GetLe32(file.data() + offset);
}

struct PixelLayout {
    uint32_t flags = 0;
    uint32_t bits = 0;
    uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// A channel scaled to 8 bits; `fallback` when the mask is empty.
uint32_t Extract(uint32_t pixel, uint32_t mask, uint32_t fallback) {
    if (mask == 0) return fallback;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return static_cast<uint32_t>((uint64_t{(pixel & mask) >> shift} * 255 + max / 2) / max);
}

uint32_t ToArgb(uint32_t pixel, const PixelLayout& layout) {
    const uint32_t alphaMask = (layout.flags & (kPixelAlphaPixels | kPixelAlpha)) ? layout.alpha : 0;
    const uint32_t a = Extract(pixel, alphaMask, 255);
    if (layout.flags & kPixelLuminance) {
        const uint32_t l = Extract(pixel, layout.red, 0);
        return a << 24 | l << 16 | l << 8 | l;
    }
    if (!(layout.flags & kPixelRgb)) return a << 24;
    return a << 24 | Extract(pixel, layout.red, 0) << 16 | Extract(pixel, layout.green, 0) << 8 |
           Extract(pixel, layout.blue, 0);
}

D3DFORMAT PlainFormat(const PixelLayout& l) {
    const bool hasAlpha = (l.flags & kPixelAlphaPixels) && l.alpha != 0;
    if (l.flags & kPixelLuminance) return l.bits == 8 ? D3DFMT_L8 : (hasAlpha ? D3DFMT_A8L8 : D3DFMT_UNKNOWN);
    if (!(l.flags & kPixelRgb)) return l.bits == 8 ? D3DFMT_A8 : D3DFMT_UNKNOWN;
    const auto is = [&](uint32_t r, uint32_t g, uint32_t b) { return l.red == r && l.green == g && l.blue == b; };
    switch (l.bits) {
        case 32:
            if (is(0xFF0000, 0xFF00, 0xFF)) return hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
            if (is(0xFF, 0xFF00, 0xFF0000)) return hasAlpha ? D3DFMT_A8B8G8R8 : D3DFMT_X8B8G8R8;
            break;
        case 24:
            if (is(0xFF0000, 0xFF00, 0xFF)) return D3DFMT_R8G8B8;
            break;
        case 16:
            if (is(0xF800, 0x7E0, 0x1F)) return D3DFMT_R5G6B5;
            if (is(0x7C00, 0x3E0, 0x1F)) return hasAlpha ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
            if (is(0xF00, 0xF0, 0xF)) return hasAlpha ? D3DFMT_A4R4G4B4 : D3DFMT_X4R4G4B4;
            break;
        default: break;
    }
    return D3DFMT_UNKNOWN;
}

ArgbImage DecodePlainLevel(const uint8_t* data, uint32_t width, uint32_t height, const PixelLayout& layout) {
    ArgbImage image(width, height);
    const uint32_t bytes = layout.bits / 8;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* p = data + static_cast<size_t>(y) * width * bytes;
        for (uint32_t x = 0; x < width; ++x, p += bytes) {
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytes; ++i) pixel |= static_cast<uint32_t>(p[i]) << (8 * i);
            image.Row(y)[x] = ToArgb(pixel, layout);
        }
    }
    return image;
}

D3DFORMAT BlockFormat(uint32_t fourCC) {
    switch (fourCC) {
        case D3DFMT_DXT1: return D3DFMT_DXT1;
        case D3DFMT_DXT3: return D3DFMT_DXT3;
        case D3DFMT_DXT5: return D3DFMT_DXT5;
        default: return D3DFMT_UNKNOWN;
    }
}

}  // namespace

HRESULT DecodeDds(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    if (file.size() < kHeaderEnd || Read32(file, 4) != 124 || Read32(file, 76) != 32) return D3DXERR_INVALIDDATA;
    const uint32_t height = Read32(file, 12);
    const uint32_t width = Read32(file, 16);
    // DXT1 packs 16 pixels into 8 bytes.
    if (!ImageFits(width, height, limits, file.size(), 2)) return D3DXERR_INVALIDDATA;
    if (Read32(file, 112) & kCaps2Volume) return D3DXERR_INVALIDDATA;
    const uint32_t declaredLevels = (Read32(file, 8) & kFlagMipMapCount) ? Read32(file, 28) : 1;
    const uint32_t levels = std::max(declaredLevels, 1u);
    if (levels > FullMipChain(width, height)) return D3DXERR_INVALIDDATA;

    PixelLayout layout{Read32(file, 80), Read32(file, 88), Read32(file, 92), Read32(file, 96), Read32(file, 100),
                       Read32(file, 104)};
    const D3DFORMAT blockFormat = (layout.flags & kPixelFourCC) ? BlockFormat(Read32(file, 84)) : D3DFMT_UNKNOWN;
    if (layout.flags & kPixelFourCC) {
        if (blockFormat == D3DFMT_UNKNOWN) return D3DXERR_INVALIDDATA;
    } else if (layout.bits != 8 && layout.bits != 16 && layout.bits != 24 && layout.bits != 32) {
        return D3DXERR_INVALIDDATA;
    }

    size_t offset = kHeaderEnd;
    for (uint32_t level = 0; level < levels; ++level) {
        const uint32_t w = std::max(width >> level, 1u);
        const uint32_t h = std::max(height >> level, 1u);
        const uint64_t size = blockFormat ? DxtLevelBytes(blockFormat, w, h) : uint64_t{w} * h * (layout.bits / 8);
        if (size > file.size() - offset) return D3DXERR_INVALIDDATA;
        const uint8_t* data = file.data() + offset;
        if (blockFormat) {
            out.blocks.emplace_back(data, data + size);
        } else {
            out.levels.push_back(DecodePlainLevel(data, w, h, layout));
        }
        offset += size;
    }
    out.blockFormat = blockFormat;
    out.info.Width = width;
    out.info.Height = height;
    out.info.Depth = 1;
    out.info.MipLevels = levels;
    out.info.Format = blockFormat ? blockFormat : PlainFormat(layout);
    out.info.ResourceType = D3DRTYPE_TEXTURE;
    out.info.ImageFileFormat = D3DXIFF_DDS;
    return D3D_OK;
}

}  // namespace gfx
