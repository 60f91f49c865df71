// Formats decoded by stb_image, fed by callbacks that notice when the decoder wants bytes
// past the end: the library would read zeros there, we refuse the file instead.

#include <stb/stb_image.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/LittleEndian.h"
#include "platform/gfx/loader/Image.h"

namespace gfx {

namespace {

struct Reader {
    std::span<const uint8_t> file;
    size_t position = 0;
    bool overrun = false;

    size_t Remaining() const { return file.size() - position; }
};

int ReadBytes(void* user, char* data, int size) {
    auto& reader = *static_cast<Reader*>(user);
    if (size <= 0) return 0;
    if (reader.Remaining() == 0) {
        reader.overrun = true;
        return 0;
    }
    const size_t n = std::min(reader.Remaining(), static_cast<size_t>(size));
    std::memcpy(data, reader.file.data() + reader.position, n);
    reader.position += n;
    return static_cast<int>(n);
}

void SkipBytes(void* user, int n) {
    auto& reader = *static_cast<Reader*>(user);
    if (n < 0) {
        reader.position -= std::min(reader.position, static_cast<size_t>(-static_cast<int64_t>(n)));
        return;
    }
    if (static_cast<size_t>(n) > reader.Remaining()) reader.overrun = true;
    reader.position += std::min(reader.Remaining(), static_cast<size_t>(n));
}

int AtEnd(void* user) { return static_cast<Reader*>(user)->Remaining() == 0; }

constexpr stbi_io_callbacks kCallbacks{&ReadBytes, &SkipBytes, &AtEnd};

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

uint16_t Read16(std::span<const uint8_t> file, size_t offset) {
    return offset + 2 <= file.size() ? GetLe16(file.data() + offset) : 0;
}

uint8_t Read8(std::span<const uint8_t> file, size_t offset) { return offset < file.size() ? file[offset] : 0; }

// The pixel format the file stores, as the extension library names it.
D3DFORMAT FileFormat(std::span<const uint8_t> file, D3DXIMAGE_FILEFORMAT type, bool usesAlpha, int channels) {
    if (type == D3DXIFF_GIF) return D3DFMT_P8;
    if (type == D3DXIFF_JPG) return channels == 1 ? D3DFMT_L8 : D3DFMT_X8R8G8B8;
    if (type == D3DXIFF_PNG) {
        switch (Read8(file, 25)) {  // the colour type in the header chunk
            case 0: return D3DFMT_L8;
            case 3: return D3DFMT_P8;
            case 4: return D3DFMT_A8L8;
            case 6: return D3DFMT_A8R8G8B8;
            default: return D3DFMT_X8R8G8B8;
        }
    }
    if (type == D3DXIFF_BMP) {
        switch (Read16(file, 28)) {
            case 16: return D3DFMT_X1R5G5B5;
            case 24: return D3DFMT_R8G8B8;
            case 32: return usesAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
            default: return D3DFMT_P8;
        }
    }
    const uint8_t imageType = Read8(file, 2) & 7;
    if (imageType == 1) return D3DFMT_P8;
    if (imageType == 3) return D3DFMT_L8;
    switch (Read8(file, 16)) {
        case 15:
        case 16: return (Read8(file, 17) & 15) ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
        case 24: return D3DFMT_R8G8B8;
        default: return D3DFMT_A8R8G8B8;
    }
}

// The most pixels one byte of the format can describe. The decoder allocates the whole picture
// (for a GIF, its logical screen three times over) before it reads a pixel.
uint64_t DensestPixelsPerByte(D3DXIMAGE_FILEFORMAT type) {
    switch (type) {
        case D3DXIFF_BMP: return 8;  // one bit a pixel; the decoder takes no run-length BMP
        case D3DXIFF_GIF: return 4096;  // a 12-bit LZW code names at most 4095 pixels: 2730 a byte
        case D3DXIFF_PNG: return 8 * 1032;  // one bit a pixel, deflated at its greatest ratio
        case D3DXIFF_JPG: return 512;  // Huffman coding spends at least a bit on each 8 x 8 block
        default: return 64;  // TGA: a run of 128 one-byte pixels takes two bytes
    }
}

}  // namespace

HRESULT DecodeWithStb(std::span<const uint8_t> file, const ImageLimits& limits, D3DXIMAGE_FILEFORMAT format,
                      DecodedImage& out) {
    if (file.size() > static_cast<size_t>(INT32_MAX)) return D3DXERR_INVALIDDATA;
    Reader reader{file};
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_callbacks(&kCallbacks, &reader, &width, &height, &channels) || reader.overrun)
        return D3DXERR_INVALIDDATA;
    if (width <= 0 || height <= 0 ||
        !ImageFits(static_cast<uint32_t>(width), static_cast<uint32_t>(height), limits, file.size(),
                   DensestPixelsPerByte(format)))
        return D3DXERR_INVALIDDATA;

    reader = Reader{file};
    std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load_from_callbacks(&kCallbacks, &reader, &width, &height, &channels, 4));
    if (!pixels || reader.overrun) return D3DXERR_INVALIDDATA;

    ArgbImage image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    const stbi_uc* rgba = pixels.get();
    bool usesAlpha = false;
    for (uint32_t& pixel : image.pixels) {
        pixel = static_cast<uint32_t>(rgba[3]) << 24 | static_cast<uint32_t>(rgba[0]) << 16 |
                static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
        usesAlpha = usesAlpha || rgba[3] != 255;
        rgba += 4;
    }
    out.info.Width = image.width;
    out.info.Height = image.height;
    out.info.Depth = 1;
    out.info.MipLevels = 1;
    out.info.Format = FileFormat(file, format, usesAlpha, channels);
    out.info.ResourceType = D3DRTYPE_TEXTURE;
    out.info.ImageFileFormat = format;
    out.levels.push_back(std::move(image));
    return D3D_OK;
}

}  // namespace gfx
