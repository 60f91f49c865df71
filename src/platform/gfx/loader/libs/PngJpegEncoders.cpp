// PNG and JPEG written with libpng and libjpeg-turbo.

#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which needs FILE
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

#include "platform/gfx/loader/ImageEncoders.h"

namespace gfx {

namespace {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Owns nothing with a destructor, so the error jump is safe; the output buffer belongs to the
// caller.
bool CompressJpeg(jpeg_compress_struct& jpeg, const ArgbImage& image, int quality, unsigned char*& buffer,
                  unsigned long& size) {
    if (setjmp(reinterpret_cast<JpegErrors*>(jpeg.err)->jump)) return false;
    jpeg_create_compress(&jpeg);
    jpeg_mem_dest(&jpeg, &buffer, &size);
    jpeg.image_width = image.width;
    jpeg.image_height = image.height;
    jpeg.input_components = 4;
    jpeg.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, quality, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    while (jpeg.next_scanline < jpeg.image_height) {
        auto row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(image.Row(jpeg.next_scanline)));
        jpeg_write_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_compress(&jpeg);
    return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(std::span<const uint32_t> argb, uint32_t width, uint32_t height, bool alpha,
                               int compressionLevel) {
    std::vector<uint8_t> out;
    if (width == 0 || height == 0 || argb.size() < static_cast<size_t>(width) * height) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return out;
    }
    // Rows are prepared before the jump point, so an error skips no destructor.
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(argb.data() + static_cast<size_t>(y) * width));
    auto write = [](png_structp p, png_bytep data, size_t length) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + length);
    };
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return out;
    }
    png_set_write_fn(png, &out, write, nullptr);
    png_set_compression_level(png, compressionLevel);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> EncodeJpeg(const ArgbImage& image, int quality) {
    std::vector<uint8_t> out;
    if (image.pixels.empty()) return out;
    jpeg_compress_struct jpeg{};
    JpegErrors errors{};
    jpeg.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = CompressJpeg(jpeg, image, quality, buffer, size);
    jpeg_destroy_compress(&jpeg);
    if (ok && buffer) out.assign(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace gfx
