#pragma once
// The small picture a screensaver host shows in its settings: the clock room at night.

#include <cstdint>
#include <vector>

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// Pixels in rows from the top, kPreviewWidth x kPreviewHeight.
std::vector<Rgb> DrawPreviewPicture();

// A 24-bit uncompressed BMP file of the pixels (rows stored bottom-up, padded to 4 bytes).
std::vector<uint8_t> EncodeBmp(const std::vector<Rgb>& pixels, int width, int height);
