// JPEG through libjpeg-turbo, straight into ARGB words (its BGRA output is ARGB in little-endian
// memory). Errors leave through longjmp. A file that ends early only draws a warning from the
// library, which would show a half-grey picture: we refuse it. Other damage it shrugs off (stray
// bytes between markers) still gives a picture.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/gfx/loader/Image.h"

namespace gfx {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool truncated;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
}

void Silent(j_common_ptr) {}

// Everything that owns memory lives in the caller, so the jump skips no destructor.
bool Decode(jpeg_decompress_struct& jpeg, std::span<const uint8_t> file, const ImageLimits& limits,
            ArgbImage& image, bool& grey) {
    ErrorManager& errors = *reinterpret_cast<ErrorManager*>(jpeg.err);
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&jpeg);
    jpeg_mem_src(&jpeg, file.data(), static_cast<unsigned long>(file.size()));
    if (jpeg_read_header(&jpeg, TRUE) != JPEG_HEADER_OK) return false;
    if (jpeg.image_width == 0 || jpeg.image_height == 0 || jpeg.image_width > limits.maxSide ||
        jpeg.image_height > limits.maxSide)
        return false;
    grey = jpeg.jpeg_color_space == JCS_GRAYSCALE;
    jpeg.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&jpeg);
    image = ArgbImage(jpeg.output_width, jpeg.output_height);
    while (jpeg.output_scanline < jpeg.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(image.Row(jpeg.output_scanline));
        if (jpeg_read_scanlines(&jpeg, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&jpeg);
    return !errors.truncated;
}

}  // namespace

HRESULT DecodeJpeg(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    jpeg_decompress_struct jpeg{};
    ErrorManager errors{};
    jpeg.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnError;
    errors.base.emit_message = &OnMessage;
    errors.base.output_message = &Silent;
    ArgbImage image;
    bool grey = false;
    const bool ok = Decode(jpeg, file, limits, image, grey);
    jpeg_destroy_decompress(&jpeg);
    if (!ok) return D3DXERR_INVALIDDATA;
    for (uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
    out.info.Width = image.width;
    out.info.Height = image.height;
    out.info.Depth = 1;
    out.info.MipLevels = 1;
    out.info.Format = grey ? D3DFMT_L8 : D3DFMT_X8R8G8B8;
    out.info.ResourceType = D3DRTYPE_TEXTURE;
    out.info.ImageFileFormat = D3DXIFF_JPG;
    out.levels.push_back(std::move(image));
    return D3D_OK;
}

}  // namespace gfx
