#include "platform/gfx/loader/ImageEncoders.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/LittleEndian.h"
#include "platform/gfx/loader/Dxt.h"
#include "platform/gfx/loader/Resample.h"

namespace gfx {

namespace {

constexpr uint32_t kDdsCapsHeightWidthPixelFormat = 0x1007;

// "DDS " and the header after it: its size, flags, dimensions, pixel format and caps.
std::vector<uint8_t> DdsHeader(const std::array<uint32_t, 31>& header) {
    std::vector<uint8_t> out{'D', 'D', 'S', ' '};
    for (const uint32_t word : header) AppendLe32(out, word);
    return out;
}

void PutPixel(std::vector<uint8_t>& out, uint32_t argb, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(argb >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodePng(const ArgbImage& image, bool alpha, int compressionLevel) {
    return EncodePng(image.pixels, image.width, image.height, alpha, compressionLevel);
}

bool WritePngFile(const char* path, std::span<const uint32_t> argb, uint32_t width, uint32_t height, bool alpha,
                  int compressionLevel) {
    const std::vector<uint8_t> bytes = EncodePng(argb, width, height, alpha, compressionLevel);
    if (bytes.empty()) return false;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::vector<uint8_t> EncodeTga(const ArgbImage& image, uint32_t bitsPerPixel, bool runLength) {
    const uint32_t bytes = bitsPerPixel / 8;
    std::vector<uint8_t> out{0, 0, static_cast<uint8_t>(runLength ? 10 : 2), 0, 0, 0, 0, 0};
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe16(out, image.width);
    AppendLe16(out, image.height);
    out.push_back(static_cast<uint8_t>(bitsPerPixel));
    // Top-left origin, and the alpha bits of a 32-bit image.
    out.push_back(static_cast<uint8_t>(0x20 | (bitsPerPixel == 32 ? 8 : 0)));
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint32_t* row = image.Row(y);
        for (uint32_t x = 0; x < image.width;) {
            if (!runLength) {
                PutPixel(out, row[x++], bytes);
                continue;
            }
            uint32_t run = 1;
            while (x + run < image.width && run < 128 && row[x + run] == row[x]) ++run;
            if (run > 1) {
                out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                PutPixel(out, row[x], bytes);
            } else {
                uint32_t raw = 1;
                while (x + raw < image.width && raw < 128 && row[x + raw] != row[x + raw - 1]) ++raw;
                out.push_back(static_cast<uint8_t>(raw - 1));
                for (uint32_t i = 0; i < raw; ++i) PutPixel(out, row[x + i], bytes);
                run = raw;
            }
            x += run;
        }
    }
    return out;
}

std::vector<uint8_t> EncodeBmp(const ArgbImage& image) {
    const uint32_t rowBytes = (image.width * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * image.height;
    std::vector<uint8_t> out{'B', 'M'};
    AppendLe32(out, 54 + dataSize);
    AppendLe32(out, 0);
    AppendLe32(out, 54);
    AppendLe32(out, 40);
    AppendLe32(out, image.width);
    AppendLe32(out, image.height);
    AppendLe16(out, 1);
    AppendLe16(out, 24);
    AppendLe32(out, 0);
    AppendLe32(out, dataSize);
    AppendLe32(out, 2835);
    AppendLe32(out, 2835);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    for (uint32_t y = image.height; y-- > 0;) {
        for (uint32_t x = 0; x < image.width; ++x) PutPixel(out, image.Row(y)[x], 3);
        for (uint32_t pad = image.width * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeDds(const ArgbImage& image) {
    constexpr uint32_t kRgbWithAlpha = 0x41;
    constexpr uint32_t kTextureCaps = 0x1000;
    std::vector<uint8_t> out = DdsHeader({124, kDdsCapsHeightWidthPixelFormat, image.height, image.width, image.width * 4, 0, 1,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // reserved
                                          32, kRgbWithAlpha, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, kTextureCaps,
                                          0, 0, 0, 0});
    for (const uint32_t pixel : image.pixels) AppendLe32(out, pixel);
    return out;
}

std::vector<uint8_t> EncodeDxt1Dds(const ArgbImage& image) {
    std::vector<ArgbImage> levels{image};
    while (levels.back().width > 1 || levels.back().height > 1) {
        const ArgbImage& last = levels.back();
        levels.push_back(Resize(last, std::max(1u, last.width / 2), std::max(1u, last.height / 2), D3DX_FILTER_BOX));
    }
    constexpr uint32_t kMipCountLinearSize = 0x20000 | 0x80000;
    constexpr uint32_t kFourCC = 0x4;
    constexpr uint32_t kMipMappedTextureCaps = 0x8 | 0x1000 | 0x400000;  // complex, texture, mip map
    std::vector<uint8_t> out = DdsHeader({124, kDdsCapsHeightWidthPixelFormat | kMipCountLinearSize, image.height,
                                          image.width, static_cast<uint32_t>(DxtLevelBytes(D3DFMT_DXT1, image.width, image.height)),
                                          0, static_cast<uint32_t>(levels.size()),
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // reserved
                                          32, kFourCC, D3DFMT_DXT1, 0, 0, 0, 0, 0, kMipMappedTextureCaps,
                                          0, 0, 0, 0});
    for (const ArgbImage& level : levels) {
        const size_t at = out.size();
        out.resize(at + DxtLevelBytes(D3DFMT_DXT1, level.width, level.height));
        const uint32_t blocksPerRow = (level.width + 3) / 4;
        EncodeDxt(D3DFMT_DXT1, level, out.data() + at, static_cast<int32_t>(blocksPerRow * 8));
    }
    return out;
}

}  // namespace gfx
