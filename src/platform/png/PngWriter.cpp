#include "platform/png/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace png {

bool WriteArgb(const char* path, std::span<const uint32_t> argb, uint32_t width, uint32_t height, int level) {
    if (width == 0 || height == 0 || argb.size() < static_cast<size_t>(width) * height) return false;
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    bool ok = png != nullptr && info != nullptr;
    // libpng reports errors by longjmp; nothing with a destructor is created past this point.
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_compression_level(png, level);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < height; ++y) {
            const uint32_t* source = argb.data() + static_cast<size_t>(y) * width;
            for (uint32_t x = 0; x < width; ++x) {
                row[x * 3 + 0] = static_cast<png_byte>(source[x] >> 16);
                row[x * 3 + 1] = static_cast<png_byte>(source[x] >> 8);
                row[x * 3 + 2] = static_cast<png_byte>(source[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

bool ReadArgb(const char* path, std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_BGRA;  // the bytes of little-endian ARGB words
    width = image.width;
    height = image.height;
    argb.assign(static_cast<size_t>(width) * height, 0);
    const bool ok = png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

}  // namespace png
