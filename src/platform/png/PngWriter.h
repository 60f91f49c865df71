#pragma once
// Writes frames as PNG files.

#include <cstdint>
#include <span>

namespace png {

// `argb` holds width x height ARGB words, top row first; the file is 8-bit RGB. `level` is the
// zlib compression level (1 is fast and is what recording uses). False on any failure.
bool WriteArgb(const char* path, std::span<const uint32_t> argb, uint32_t width, uint32_t height, int level);

}  // namespace png
