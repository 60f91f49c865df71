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
