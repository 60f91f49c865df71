#include "gfx_loader/ImageFiles.h"

#include <algorithm>

#include "common/LittleEndian.h"

namespace testimages {

namespace {

// LZW codes of a fixed 9-bit width: every pixel a literal, a clear code often enough that the
// decoder's table never makes it widen.
std::vector<uint8_t> LiteralLzw(const std::vector<uint8_t>& indices) {
    constexpr uint32_t kClear = 256, kEnd = 257;
    std::vector<uint8_t> bytes;
    uint32_t buffer = 0, bits = 0;
    auto emit = [&](uint32_t code) {
        buffer |= code << bits;
        bits += 9;
        while (bits >= 8) {
            bytes.push_back(static_cast<uint8_t>(buffer));
            buffer >>= 8;
            bits -= 8;
        }
    };
    emit(kClear);
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 250 == 249) emit(kClear);
        emit(indices[i]);
    }
    emit(kEnd);
    if (bits) bytes.push_back(static_cast<uint8_t>(buffer));
    return bytes;
}

}  // namespace

gfx::ArgbImage Gradient(uint32_t width, uint32_t height, uint32_t alpha) {
    gfx::ArgbImage image(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            image.Row(y)[x] = alpha << 24 | (x * 255 / std::max(width - 1, 1u)) << 16 |
                              (y * 255 / std::max(height - 1, 1u)) << 8 | ((x + y) * 37 & 0xFF);
    return image;
}

gfx::ArgbImage Filled(uint32_t width, uint32_t height, uint32_t argb) {
    gfx::ArgbImage image(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), argb);
    return image;
}

std::vector<uint8_t> Dds(uint32_t width, uint32_t height, uint32_t levels, uint32_t fourCC, uint32_t bits,
                         uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha,
                         const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out{'D', 'D', 'S', ' '};
    AppendLe32(out, 124);
    AppendLe32(out, 0x1007 | 0x20000);  // caps, height, width, pixel format, mip count
    AppendLe32(out, height);
    AppendLe32(out, width);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    AppendLe32(out, levels);
    for (int i = 0; i < 11; ++i) AppendLe32(out, 0);
    AppendLe32(out, 32);
    AppendLe32(out, fourCC ? 0x4 : (0x40 | (alpha ? 0x1 : 0)));
    AppendLe32(out, fourCC);
    AppendLe32(out, bits);
    AppendLe32(out, red);
    AppendLe32(out, green);
    AppendLe32(out, blue);
    AppendLe32(out, alpha);
    AppendLe32(out, 0x1000);
    for (int i = 0; i < 4; ++i) AppendLe32(out, 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> DdsArgb(const std::vector<gfx::ArgbImage>& levels) {
    std::vector<uint8_t> data;
    for (const gfx::ArgbImage& level : levels)
        for (uint32_t pixel : level.pixels) AppendLe32(data, pixel);
    return Dds(levels[0].width, levels[0].height, static_cast<uint32_t>(levels.size()), 0, 32, 0xFF0000, 0xFF00,
               0xFF, 0xFF000000u, data);
}

std::vector<uint8_t> Gif(const gfx::ArgbImage& image, uint32_t transparentIndex) {
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    for (uint32_t pixel : image.pixels) {
        auto found = std::find(palette.begin(), palette.end(), pixel);
        if (found == palette.end()) found = palette.insert(palette.end(), pixel);
        indices.push_back(static_cast<uint8_t>(found - palette.begin()));
    }
    palette.resize(256);
    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    AppendLe16(out, image.width);
    AppendLe16(out, image.height);
    out.insert(out.end(), {0xF7, 0, 0});  // global table of 256 entries
    for (uint32_t colour : palette) {
        out.push_back(static_cast<uint8_t>(colour >> 16));
        out.push_back(static_cast<uint8_t>(colour >> 8));
        out.push_back(static_cast<uint8_t>(colour));
    }
    if (transparentIndex < 256) out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparentIndex), 0});
    out.push_back(0x2C);
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe16(out, image.width);
    AppendLe16(out, image.height);
    out.push_back(0);
    out.push_back(8);  // minimum code size
    const std::vector<uint8_t> lzw = LiteralLzw(indices);
    for (size_t i = 0; i < lzw.size(); i += 255) {
        const size_t n = std::min<size_t>(255, lzw.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), lzw.begin() + static_cast<ptrdiff_t>(i), lzw.begin() + static_cast<ptrdiff_t>(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

}  // namespace testimages
