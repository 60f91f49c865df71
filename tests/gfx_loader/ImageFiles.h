#pragma once
// Small image files made by the tests: the formats our encoders do not write (DDS, GIF), and
// patterned pictures to feed every decoder.

#include <cstdint>
#include <vector>

#include "platform/gfx/Types.h"
#include "platform/gfx/loader/Image.h"

namespace testimages {

// A picture whose every pixel differs: red grows along x, green along y, blue from both.
gfx::ArgbImage Gradient(uint32_t width, uint32_t height, uint32_t alpha = 0xFF);
gfx::ArgbImage Filled(uint32_t width, uint32_t height, uint32_t argb);

// A DDS header for `levels` levels of `width` x `height`, followed by `data`. `fourCC` 0 makes
// an uncompressed file with the given bit count and masks.
std::vector<uint8_t> Dds(uint32_t width, uint32_t height, uint32_t levels, uint32_t fourCC, uint32_t bits,
                         uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha,
                         const std::vector<uint8_t>& data);
// An A8R8G8B8 DDS of the given levels, each level given as pixels.
std::vector<uint8_t> DdsArgb(const std::vector<gfx::ArgbImage>& levels);

// A GIF with a palette of at most 256 colours (the image's distinct pixels) and, when
// `transparentIndex` is below 256, that palette entry transparent.
std::vector<uint8_t> Gif(const gfx::ArgbImage& image, uint32_t transparentIndex = 256);

}  // namespace testimages
