#include "platform/gfx/loader/ImageEncoders.h"

#include <cstdio>

namespace gfx {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
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
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, image.width);
    Put16(out, image.height);
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
    Put32(out, 54 + dataSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, image.width);
    Put32(out, image.height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, dataSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (uint32_t y = image.height; y-- > 0;) {
        for (uint32_t x = 0; x < image.width; ++x) PutPixel(out, image.Row(y)[x], 3);
        for (uint32_t pad = image.width * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeDds(const ArgbImage& image) {
    std::vector<uint8_t> out{'D', 'D', 'S', ' '};
    constexpr uint32_t kCapsHeightWidthPixelFormat = 0x1007;
    constexpr uint32_t kRgbWithAlpha = 0x41;
    constexpr uint32_t kTextureCaps = 0x1000;
    const uint32_t header[31] = {124, kCapsHeightWidthPixelFormat, image.height, image.width, image.width * 4, 0, 1,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // reserved
                                 32, kRgbWithAlpha, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, kTextureCaps,
                                 0, 0, 0, 0};
    for (const uint32_t word : header) Put32(out, word);
    for (const uint32_t pixel : image.pixels) Put32(out, pixel);
    return out;
}

}  // namespace gfx
