#include "GlyphRasterizer.h"

#include <algorithm>
#include <cstdio>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {
// Light hinting keeps the shapes and snaps only vertically: crisp stems at small sizes.
constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT;
}  // namespace

GlyphRasterizer::~GlyphRasterizer() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

bool GlyphRasterizer::Open(const std::string& path, uint32_t pixelSize) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        std::fputs("fonts: FreeType does not start\n", stderr);
        return false;
    }
    if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
        face_ = nullptr;
        std::fprintf(stderr, "fonts: cannot open %s\n", path.c_str());
        return false;
    }
    if (FT_Set_Pixel_Sizes(face_, 0, pixelSize) != 0) {
        std::fprintf(stderr, "fonts: %s has no size %u\n", path.c_str(), pixelSize);
        return false;
    }
    return true;
}

bool GlyphRasterizer::HasGlyph(uint32_t code) const { return FT_Get_Char_Index(face_, code) != 0; }

int GlyphRasterizer::Advance(uint32_t code) const {
    if (FT_Load_Char(face_, code, kLoadFlags) != 0) return 0;
    return static_cast<int>((face_->glyph->advance.x + 32) >> 6);
}

int GlyphRasterizer::Ascender() const { return static_cast<int>((face_->size->metrics.ascender + 32) >> 6); }

void GlyphRasterizer::Draw(uint32_t code, int penX, int baselineY, gfx::ArgbImage& image, const int clip[4]) const {
    if (FT_Load_Char(face_, code, kLoadFlags | FT_LOAD_RENDER) != 0) return;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    const int left = penX + slot->bitmap_left;
    const int top = baselineY - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = top + static_cast<int>(row);
        if (y < clip[1] || y >= clip[3]) continue;
        const unsigned char* coverage = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = left + static_cast<int>(column);
            if (x < clip[0] || x >= clip[2] || coverage[column] == 0) continue;
            uint32_t& pixel = image.Row(static_cast<uint32_t>(y))[x];
            const uint32_t alpha = std::max<uint32_t>(pixel >> 24, coverage[column]);
            pixel = alpha << 24 | 0xFFFFFF;
        }
    }
}
