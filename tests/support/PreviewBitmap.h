#pragma once
// The preview picture the build draws, and the colour of one of its pixels.

#include <cstdint>
#include <string>
#include <vector>

#include "support/Files.h"

inline std::vector<uint8_t> ReadPreviewBitmap() {
    const std::string text = ReadFile(std::string(QUELMONT_BINARY_DIR) + "/media/preview.bmp");
    return {text.begin(), text.end()};
}

// The colour (0xRRGGBB) at (x, y) of a bottom-up 24-bit BMP file.
inline uint32_t BmpPixel(const std::vector<uint8_t>& bmp, int x, int y) {
    const int width = bmp[18] | bmp[19] << 8, height = bmp[22] | bmp[23] << 8;
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t at = 54 + static_cast<size_t>(height - 1 - y) * row + static_cast<size_t>(x) * 3;
    return static_cast<uint32_t>(bmp[at + 2]) << 16 | bmp[at + 1] << 8 | bmp[at];
}
