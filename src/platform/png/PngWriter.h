#pragma once
// Writes frames as PNG files, and reads them back for tests.

#include <cstdint>
#include <span>
#include <vector>

namespace png {

// `argb` holds width x height ARGB words, top row first; the file is 8-bit RGB. `level` is the
// zlib compression level (1 is fast and is what recording uses). False on any failure.
bool WriteArgb(const char* path, std::span<const uint32_t> argb, uint32_t width, uint32_t height, int level);

// Reads an 8-bit RGB or RGBA file into ARGB words (alpha 255 for RGB), top row first.
bool ReadArgb(const char* path, std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height);

}  // namespace png
