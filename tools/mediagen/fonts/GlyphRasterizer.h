#pragma once
// One face of a font file at one pixel size, drawing antialiased glyphs as white with their
// coverage in alpha.

#include <cstdint>
#include <string>

#include "platform/gfx/loader/Image.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class GlyphRasterizer {
public:
    GlyphRasterizer() = default;
    ~GlyphRasterizer();
    GlyphRasterizer(const GlyphRasterizer&) = delete;
    GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

    // False, with a message on standard error, when the file or the size is unusable.
    bool Open(const std::string& path, uint32_t pixelSize);

    // False for a code the face has no glyph for.
    bool HasGlyph(uint32_t code) const;
    // The hinted advance in whole pixels.
    int Advance(uint32_t code) const;
    int Ascender() const;
    // Draws the glyph with its pen at (penX, baselineY); coverage outside `clip` (in image
    // pixels: left, top, right, bottom, exclusive) is dropped. Overlapping coverage keeps the
    // larger value.
    void Draw(uint32_t code, int penX, int baselineY, gfx::ArgbImage& image, const int clip[4]) const;

private:
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
};
