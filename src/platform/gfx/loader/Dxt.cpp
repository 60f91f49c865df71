#include "platform/gfx/loader/Dxt.h"

#include <algorithm>
#include <array>

#include <stb/stb_dxt.h>

#include "common/LittleEndian.h"

namespace gfx {

namespace {

using Block = std::array<uint32_t, 16>;  // ARGB, row by row

uint32_t Expand565(uint16_t c) {
    const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// a * wa + b * wb over `total`, channel by channel, opaque.
uint32_t Mix(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb, uint32_t total) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((Channel(a, shift) * wa + Channel(b, shift) * wb) / total) << shift;
    return out;
}

// The four colours of a colour block; `threeColor` lets c0 <= c1 select the mode with a
// transparent fourth entry (DXT1 only).
std::array<uint32_t, 4> Palette(uint16_t c0, uint16_t c1, bool threeColor) {
    const uint32_t a = Expand565(c0), b = Expand565(c1);
    if (c0 > c1 || !threeColor) return {a, b, Mix(a, b, 2, 1, 3), Mix(a, b, 1, 2, 3)};
    return {a, b, Mix(a, b, 1, 1, 2), 0};
}

void DecodeColorBlock(const uint8_t* p, bool threeColor, Block& block) {
    const auto palette = Palette(GetLe16(p), GetLe16(p + 2), threeColor);
    const uint32_t indices = GetLe32(p + 4);
    for (int i = 0; i < 16; ++i) block[i] = palette[(indices >> (2 * i)) & 3];
}

void SetAlpha(Block& block, int i, uint32_t alpha) { block[i] = (block[i] & 0x00FFFFFFu) | (alpha << 24); }

void DecodeExplicitAlpha(const uint8_t* p, Block& block) {
    for (int i = 0; i < 16; ++i) SetAlpha(block, i, ((p[i / 2] >> (4 * (i & 1))) & 15) * 17);
}

void DecodeInterpolatedAlpha(const uint8_t* p, Block& block) {
    const uint32_t a0 = p[0], a1 = p[1];
    std::array<uint32_t, 8> alpha{a0, a1};
    if (a0 > a1) {
        for (uint32_t i = 1; i < 7; ++i) alpha[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (uint32_t i = 1; i < 5; ++i) alpha[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alpha[6] = 0;
        alpha[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(p[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) SetAlpha(block, i, alpha[(bits >> (3 * i)) & 7]);
}

void DecodeBlock(D3DFORMAT format, const uint8_t* p, Block& block) {
    if (format == D3DFMT_DXT1) {
        DecodeColorBlock(p, true, block);
        return;
    }
    DecodeColorBlock(p + 8, false, block);
    if (format == D3DFMT_DXT3) {
        DecodeExplicitAlpha(p, block);
    } else {
        DecodeInterpolatedAlpha(p, block);
    }
}

uint32_t Distance(uint32_t a, uint32_t b) {
    uint32_t sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>(Channel(a, shift)) - static_cast<int>(Channel(b, shift));
        sum += static_cast<uint32_t>(d * d);
    }
    return sum;
}

// Rewrites a four-colour block into the three-colour mode, whose fourth entry is transparent
// black, for blocks that have transparent pixels.
void MakeThreeColor(uint8_t* p, const Block& block) {
    uint16_t c0 = GetLe16(p), c1 = GetLe16(p + 2);
    if (c0 > c1) std::swap(c0, c1);
    PutLe16(p, c0);
    PutLe16(p + 2, c1);
    const auto palette = Palette(c0, c1, true);
    uint32_t indices = 0;
    for (int i = 0; i < 16; ++i) {
        uint32_t best = 3;
        if ((block[i] >> 24) >= 128) {
            best = 0;
            for (uint32_t k = 1; k < 3; ++k)
                if (Distance(palette[k], block[i]) < Distance(palette[best], block[i])) best = k;
        }
        indices |= best << (2 * i);
    }
    for (int i = 0; i < 4; ++i) p[4 + i] = static_cast<uint8_t>(indices >> (8 * i));
}

void EncodeBlock(D3DFORMAT format, const Block& block, uint8_t* p) {
    std::array<uint8_t, 64> rgba;
    bool transparent = false;
    for (int i = 0; i < 16; ++i) {
        rgba[4 * i + 0] = static_cast<uint8_t>(Channel(block[i], 16));
        rgba[4 * i + 1] = static_cast<uint8_t>(Channel(block[i], 8));
        rgba[4 * i + 2] = static_cast<uint8_t>(Channel(block[i], 0));
        rgba[4 * i + 3] = static_cast<uint8_t>(Channel(block[i], 24));
        transparent = transparent || (block[i] >> 24) < 128;
    }
    if (format == D3DFMT_DXT5) {
        stb_compress_dxt_block(p, rgba.data(), 1, STB_DXT_HIGHQUAL);
        return;
    }
    if (format == D3DFMT_DXT3) {
        for (int i = 0; i < 8; ++i)
            p[i] = static_cast<uint8_t>((rgba[8 * i + 3] * 15 + 127) / 255 | ((rgba[8 * i + 7] * 15 + 127) / 255) << 4);
        stb_compress_dxt_block(p + 8, rgba.data(), 0, STB_DXT_HIGHQUAL);
        return;
    }
    stb_compress_dxt_block(p, rgba.data(), 0, STB_DXT_HIGHQUAL);
    if (transparent) MakeThreeColor(p, block);
}

uint32_t BlockBytes(D3DFORMAT format) { return format == D3DFMT_DXT1 ? 8 : 16; }

}  // namespace

bool IsDxt(D3DFORMAT format) {
    return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5;
}

uint64_t DxtLevelBytes(D3DFORMAT format, uint32_t width, uint32_t height) {
    return uint64_t{(width + 3) / 4} * ((height + 3) / 4) * BlockBytes(format);
}

void DecodeDxt(D3DFORMAT format, const uint8_t* blocks, ArgbImage& out) {
    const uint32_t blocksWide = (out.width + 3) / 4;
    const uint32_t blocksHigh = (out.height + 3) / 4;
    Block block;
    for (uint32_t by = 0; by < blocksHigh; ++by) {
        for (uint32_t bx = 0; bx < blocksWide; ++bx) {
            DecodeBlock(format, blocks, block);
            blocks += BlockBytes(format);
            for (uint32_t y = 0; y < 4 && by * 4 + y < out.height; ++y)
                for (uint32_t x = 0; x < 4 && bx * 4 + x < out.width; ++x)
                    out.Row(by * 4 + y)[bx * 4 + x] = block[y * 4 + x];
        }
    }
}

void EncodeDxt(D3DFORMAT format, const ArgbImage& image, uint8_t* dest, int32_t pitch) {
    const uint32_t blocksWide = (image.width + 3) / 4;
    const uint32_t blocksHigh = (image.height + 3) / 4;
    Block block;
    for (uint32_t by = 0; by < blocksHigh; ++by) {
        uint8_t* row = dest + static_cast<ptrdiff_t>(by) * pitch;
        for (uint32_t bx = 0; bx < blocksWide; ++bx) {
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    block[y * 4 + x] = image.Row(std::min(by * 4 + y, image.height - 1))[std::min(bx * 4 + x, image.width - 1)];
            EncodeBlock(format, block, row + bx * BlockBytes(format));
        }
    }
}

}  // namespace gfx
