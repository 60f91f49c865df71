#include "platform/gfx/loader/Image.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/loader/Dxt.h"

namespace gfx {

namespace {

bool StartsWith(std::span<const uint8_t> file, const char* magic, size_t length) {
    return file.size() >= length && std::memcmp(file.data(), magic, length) == 0;
}

}  // namespace

const ArgbImage& DecodedImage::Argb(uint32_t level) {
    if (levels.size() < blocks.size()) levels.resize(blocks.size());
    ArgbImage& image = levels[level];
    if (blockFormat && image.pixels.empty()) {
        const uint32_t width = std::max(info.Width >> level, 1u);
        const uint32_t height = std::max(info.Height >> level, 1u);
        image = ArgbImage(width, height);
        DecodeDxt(blockFormat, blocks[level].data(), image);
    }
    return image;
}

bool ImageFits(uint32_t width, uint32_t height, const ImageLimits& limits, size_t fileBytes,
               uint64_t densestPixelsPerByte) {
    if (width == 0 || height == 0 || width > limits.maxSide || height > limits.maxSide) return false;
    const uint64_t pixels = uint64_t{width} * height;
    return (pixels - 1) / densestPixelsPerByte < fileBytes;
}

HRESULT DecodeImage(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    out = {};
    if (StartsWith(file, "DDS ", 4)) return DecodeDds(file, limits, out);
    if (StartsWith(file, "\x89PNG\r\n\x1a\n", 8)) return DecodePng(file, limits, out);
    if (StartsWith(file, "\xFF\xD8\xFF", 3)) return DecodeJpeg(file, limits, out);
    if (StartsWith(file, "BM", 2)) return DecodeWithStb(file, limits, D3DXIFF_BMP, out);
    if (StartsWith(file, "GIF87a", 6) || StartsWith(file, "GIF89a", 6))
        return DecodeWithStb(file, limits, D3DXIFF_GIF, out);
    // TGA has no signature: its header is checked by the decoder.
    return DecodeWithStb(file, limits, D3DXIFF_TGA, out);
}

}  // namespace gfx
