// PNG and JPEG through stb_image and stb_image_write, for targets without libpng and
// libjpeg-turbo.

#include <stb/stb_image_write.h>

#include "platform/gfx/loader/ImageEncoders.h"

namespace gfx {

namespace {

void Append(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// ARGB words as the byte order the writers take: R, G, B (and A).
std::vector<uint8_t> ToRgb(std::span<const uint32_t> argb, size_t count, bool alpha) {
    std::vector<uint8_t> rgb;
    rgb.reserve(count * (alpha ? 4 : 3));
    for (size_t i = 0; i < count; ++i) {
        const uint32_t pixel = argb[i];
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
        if (alpha) rgb.push_back(static_cast<uint8_t>(pixel >> 24));
    }
    return rgb;
}

}  // namespace

HRESULT DecodePng(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    return DecodeWithStb(file, limits, D3DXIFF_PNG, out);
}

HRESULT DecodeJpeg(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    return DecodeWithStb(file, limits, D3DXIFF_JPG, out);
}

std::vector<uint8_t> EncodePng(std::span<const uint32_t> argb, uint32_t width, uint32_t height, bool alpha,
                               int compressionLevel) {
    std::vector<uint8_t> out;
    const size_t count = static_cast<size_t>(width) * height;
    if (width == 0 || height == 0 || argb.size() < count || width > INT32_MAX / 4 || height > INT32_MAX) return out;
    const std::vector<uint8_t> rgb = ToRgb(argb, count, alpha);
    const int channels = alpha ? 4 : 3;
    // The writer's deflate knows levels up to 9, as zlib does; below 1 it would not compress.
    stbi_write_png_compression_level = compressionLevel < 1 ? 1 : compressionLevel;
    if (!stbi_write_png_to_func(&Append, &out, static_cast<int>(width), static_cast<int>(height), channels, rgb.data(),
                                static_cast<int>(width) * channels))
        out.clear();
    return out;
}

std::vector<uint8_t> EncodeJpeg(const ArgbImage& image, int quality) {
    std::vector<uint8_t> out;
    if (image.pixels.empty() || image.width > INT32_MAX || image.height > INT32_MAX) return out;
    const std::vector<uint8_t> rgb = ToRgb(image.pixels, image.pixels.size(), false);
    if (!stbi_write_jpg_to_func(&Append, &out, static_cast<int>(image.width), static_cast<int>(image.height), 3,
                                rgb.data(), quality))
        out.clear();
    return out;
}

}  // namespace gfx
