#pragma once
// Reads a picture the program wrote (a recorded frame) through the image loader.

#include <cstdint>
#include <span>
#include <string>

#include "platform/gfx/loader/Image.h"
#include "support/Files.h"

inline bool ReadImageFile(const std::string& path, gfx::ArgbImage& out) {
    const std::string bytes = ReadFile(path);
    gfx::DecodedImage decoded;
    const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (gfx::FAILED(gfx::DecodeImage(file, gfx::ImageLimits{}, decoded)) || decoded.LevelCount() == 0) return false;
    out = decoded.Argb(0);
    return true;
}

// The mean of a picture's red, green and blue (0 to 255); -1 when it cannot be read.
inline double MeanBrightness(const std::string& path) {
    gfx::ArgbImage frame;
    if (!ReadImageFile(path, frame)) return -1;
    double sum = 0;
    for (const uint32_t p : frame.pixels) sum += (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF);
    return frame.pixels.empty() ? -1 : sum / (3.0 * static_cast<double>(frame.pixels.size()));
}
