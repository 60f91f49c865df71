#pragma once
// Decoded images: 32-bit ARGB words, top row first, and what an image file held.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/Types.h"
#include "platform/gfx/loader/TextureLoader.h"

namespace gfx {

struct ArgbImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;

    ArgbImage() = default;
    ArgbImage(uint32_t w, uint32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
    uint32_t* Row(uint32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* Row(uint32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

// The levels of an image file. Block-compressed levels stay as stored until someone needs their
// pixels, so a texture of the file's own format takes them unchanged.
struct DecodedImage {
    D3DXIMAGE_INFO info;
    D3DFORMAT blockFormat = D3DFMT_UNKNOWN;       // DXT1, DXT3 or DXT5 when `blocks` is filled
    std::vector<std::vector<uint8_t>> blocks;     // per level, rows of blocks
    std::vector<ArgbImage> levels;                // per level; empty while only blocks exist

    uint32_t LevelCount() const { return static_cast<uint32_t>(blockFormat ? blocks.size() : levels.size()); }
    // The pixels of a level, decoded from its blocks on first use.
    const ArgbImage& Argb(uint32_t level);
};

// Whether a `width` x `height` image is within `limits` and could be stored in `fileBytes` by a
// format that packs at most `densestPixelsPerByte` pixels into one byte. Decoders allocate from
// the header, so a damaged header must not make them ask for more than its data could ever fill.
bool ImageFits(uint32_t width, uint32_t height, const ImageLimits& limits, size_t fileBytes,
               uint64_t densestPixelsPerByte);

// Decodes a whole file; D3DXERR_INVALIDDATA for anything unknown, damaged, truncated or too large.
HRESULT DecodeImage(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out);

// Per format; each fills `out` completely or fails.
HRESULT DecodeJpeg(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out);
HRESULT DecodePng(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out);
HRESULT DecodeDds(std::span<const uint8_t> file, const ImageLimits& limits, DecodedImage& out);
// BMP, TGA and GIF (and PNG and JPEG where stb_image decodes them too).
HRESULT DecodeWithStb(std::span<const uint8_t> file, const ImageLimits& limits, D3DXIMAGE_FILEFORMAT format,
                      DecodedImage& out);

}  // namespace gfx
