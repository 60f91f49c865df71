#pragma once
// Image files written from ARGB pixels: for the media generator, frame recording and tests.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/loader/Image.h"

namespace gfx {

// Empty on failure. `alpha` keeps the alpha channel, otherwise RGB only.
std::vector<uint8_t> EncodePng(const ArgbImage& image, bool alpha, int compressionLevel = 6);
// `argb` holds width x height ARGB words, top row first (a frame read back from a device).
std::vector<uint8_t> EncodePng(std::span<const uint32_t> argb, uint32_t width, uint32_t height, bool alpha,
                               int compressionLevel);
// The same, written to a file; false on any failure. Level 1 is fast, for recording.
bool WritePngFile(const char* path, std::span<const uint32_t> argb, uint32_t width, uint32_t height, bool alpha,
                  int compressionLevel);
// Baseline colour JPEG, quality 1 to 100.
std::vector<uint8_t> EncodeJpeg(const ArgbImage& image, int quality);
// Uncompressed or run-length TGA of 24 or 32 bits, top row first.
std::vector<uint8_t> EncodeTga(const ArgbImage& image, uint32_t bitsPerPixel, bool runLength);
// Uncompressed 24-bit BMP, bottom row first as the format wants.
std::vector<uint8_t> EncodeBmp(const ArgbImage& image);
// Uncompressed A8R8G8B8 DDS of one level.
std::vector<uint8_t> EncodeDds(const ArgbImage& image);
// DXT1 DDS (no alpha) with every mip level down to 1 x 1, each a box-filtered half of the one
// before, so a texture loads small and filters well at any distance.
std::vector<uint8_t> EncodeDxt1Dds(const ArgbImage& image);

}  // namespace gfx
