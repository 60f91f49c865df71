#include "platform/gfx/loader/PixelFormats.h"

#include <cstring>

#include "common/LittleEndian.h"

namespace gfx {

namespace {

// The top `bits` bits of an 8-bit channel, rounded.
uint32_t Quantize(uint32_t argb, int shift, int bits) {
    const uint32_t max = (1u << bits) - 1;
    return ((((argb >> shift) & 0xFF) * max + 127) / 255);
}

}  // namespace

bool FormatHasAlpha(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_A8B8G8R8:
        case D3DFMT_A8:
        case D3DFMT_A8L8:
        case D3DFMT_A8P8:
        case D3DFMT_P8:
        case D3DFMT_DXT1:
        case D3DFMT_DXT3:
        case D3DFMT_DXT5:
        case D3DFMT_UNKNOWN:
            return true;
        default:
            return false;
    }
}

D3DFORMAT TextureFormatFor(D3DFORMAT fileFormat) {
    switch (fileFormat) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_DXT1:
        case D3DFMT_DXT3:
        case D3DFMT_DXT5:
            return fileFormat;
        default:
            return FormatHasAlpha(fileFormat) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
}

void PackRow(D3DFORMAT format, const uint32_t* argb, uint32_t count, uint8_t* out) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
            std::memcpy(out, argb, static_cast<size_t>(count) * 4);
            return;
        case D3DFMT_X8R8G8B8:
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t pixel = argb[i] | 0xFF000000u;
                std::memcpy(out + 4 * i, &pixel, 4);
            }
            return;
        case D3DFMT_R5G6B5:
            for (uint32_t i = 0; i < count; ++i)
                PutLe16(out + 2 * i, Quantize(argb[i], 16, 5) << 11 | Quantize(argb[i], 8, 6) << 5 | Quantize(argb[i], 0, 5));
            return;
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t a = format == D3DFMT_X1R5G5B5 ? 1 : (argb[i] >> 31);
                PutLe16(out + 2 * i,
                        a << 15 | Quantize(argb[i], 16, 5) << 10 | Quantize(argb[i], 8, 5) << 5 | Quantize(argb[i], 0, 5));
            }
            return;
        case D3DFMT_A4R4G4B4:
            for (uint32_t i = 0; i < count; ++i)
                PutLe16(out + 2 * i, Quantize(argb[i], 24, 4) << 12 | Quantize(argb[i], 16, 4) << 8 |
                                         Quantize(argb[i], 8, 4) << 4 | Quantize(argb[i], 0, 4));
            return;
        default:
            return;
    }
}

}  // namespace gfx
