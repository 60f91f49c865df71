// JPEG through libjpeg-turbo, straight into ARGB words (its BGRA output is ARGB in little-endian
// memory). Errors leave through longjmp. A file that ends early, or whose scan ends before the
// picture does, only draws a warning from the library, which would show a half-grey picture: we
// refuse it, as soon as it happens. Other damage it shrugs off (stray bytes between markers)
// still gives a picture.

#include <algorithm>
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
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
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
    // Arithmetic coding can pack a block of pixels into a fraction of a bit, so the file's size
    // bounds nothing here: a damaged file is caught as its data runs out instead.
    if (!ImageFits(jpeg.image_width, jpeg.image_height, limits, file.size(), UINT64_MAX)) return false;
    grey = jpeg.jpeg_color_space == JCS_GRAYSCALE;
    jpeg.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&jpeg);
    if (errors.truncated) return false;
    image.width = jpeg.output_width;
    image.height = jpeg.output_height;
    // Rows are added as they are decoded, so a header that claims more than the data holds costs
    // only the rows decoded before the data ran out.
    const size_t total = size_t{image.width} * image.height;
    while (jpeg.output_scanline < jpeg.output_height) {
        const size_t needed = size_t{jpeg.output_scanline + 1} * image.width;
        if (image.pixels.capacity() < needed) image.pixels.reserve(std::min(total, 2 * needed));
        image.pixels.resize(needed);
        JSAMPROW row = reinterpret_cast<JSAMPROW>(image.Row(jpeg.output_scanline));
        if (jpeg_read_scanlines(&jpeg, &row, 1) != 1 || errors.truncated) return false;
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
