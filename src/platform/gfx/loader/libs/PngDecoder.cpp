// PNG through libpng's simplified reader, straight into ARGB words (its BGRA output is ARGB in
// little-endian memory). It reports truncated and damaged files as errors.

#include <png.h>

#include "platform/gfx/loader/Image.h"

namespace gfx {

namespace {

D3DFORMAT FileFormat(png_uint_32 format) {
    if (format & PNG_FORMAT_FLAG_COLORMAP) return D3DFMT_P8;
    const bool alpha = (format & PNG_FORMAT_FLAG_ALPHA) != 0;
    if (!(format & PNG_FORMAT_FLAG_COLOR)) return alpha ? D3DFMT_A8L8 : D3DFMT_L8;
    return alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

}  // namespace

HRESULT DecodePng(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) return D3DXERR_INVALIDDATA;
    // One bit a pixel, deflated at its greatest ratio of 1032 to 1.
    if (!ImageFits(png.width, png.height, limits, file.size(), 8 * 1032)) {
        png_image_free(&png);
        return D3DXERR_INVALIDDATA;
    }
    const D3DFORMAT fileFormat = FileFormat(png.format);
    png.format = PNG_FORMAT_BGRA;
    ArgbImage image(png.width, png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        png_image_free(&png);  // a second free is harmless; the reader may already have freed
        return D3DXERR_INVALIDDATA;
    }
    out.info.Width = image.width;
    out.info.Height = image.height;
    out.info.Depth = 1;
    out.info.MipLevels = 1;
    out.info.Format = fileFormat;
    out.info.ResourceType = D3DRTYPE_TEXTURE;
    out.info.ImageFileFormat = D3DXIFF_PNG;
    out.levels.push_back(std::move(image));
    return D3D_OK;
}

}  // namespace gfx
