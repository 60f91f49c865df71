// The saver's two bitmap fonts: "sylfaen.fs", a 14-pixel interface font of all 256 codes, and
// "64font.fs", the 64-pixel clock font that holds only what a clock text needs.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "GlyphRasterizer.h"
#include "MediaGenerator.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace fs = std::filesystem;

namespace {

const std::string kFontDir = QUELMONT_FONT_DIR;

bool WriteText(const fs::path& path, const std::string& text) {
    return WriteMediaFile(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

// The interface font: every code in a grid of 14 x 14 cells, 18 to a line, each glyph at the
// left of its cell. Codes are Latin-1; the control codes have no glyph and width 0.
constexpr int kSmallCell = 14;
constexpr int kSmallPerLine = 18;
constexpr uint32_t kSmallTexture = 256;

bool WriteInterfaceFont(const fs::path& media) {
    GlyphRasterizer glyphs;
    // The condensed bold face keeps the small figures sturdy over the dark room and makes "$"
    // six pixels wide, as the charset's users expect.
    if (!glyphs.Open(kFontDir + "/DejaVuSansCondensed-Bold.ttf", 10)) return false;
    // Transparent white: filtering a scaled glyph then blends only its alpha, with no dark rim.
    gfx::ArgbImage image(kSmallTexture, kSmallTexture);
    std::fill(image.pixels.begin(), image.pixels.end(), 0x00FFFFFFu);
    const int baseline = 1 + glyphs.Ascender();
    std::string sizes;
    for (uint32_t code = 0; code < 256; ++code) {
        const int column = static_cast<int>(code) % kSmallPerLine, row = static_cast<int>(code) / kSmallPerLine;
        const bool drawn = (code >= 32 && code < 127) || code >= 160;
        int width = drawn && glyphs.HasGlyph(code) ? glyphs.Advance(code) : 0;
        width = std::min(width, kSmallCell);
        if (width > 0) {
            const int x = column * kSmallCell, y = row * kSmallCell;
            const int clip[4] = {x, y, x + kSmallCell, y + kSmallCell};
            glyphs.Draw(code, x, y + baseline, image, clip);
        }
        sizes += std::to_string(width);
        if (code != 255) sizes += code % 16 == 15 ? ",\n  " : ", ";
    }
    const std::string css =
        "// The interface font: DejaVu Sans Condensed Bold at 10 pixels in 14 x 14 cells.\n"
        "Name = \"sylfaen_eng_14.png\";\n"
        "Format = 21;\n"
        "StartChar = 0;\n"
        "EndChar = 255;\n"
        "CharsPerLine = 18;\n"
        "CharWidth = 14;\n"
        "CharHeight = 14;\n"
        "Sizes = array(\n  " + sizes + ");\n";
    const std::string fs =
        "Name = \"Sylfaen\";\n"
        "Styles = array(object(Size = 14, Charsets = array(\"sylfaen_eng_14.css\")));\n";
    return WriteMediaFile(media / "sylfaen_eng_14.png", gfx::EncodePng(image, true, 9)) &&
           WriteText(media / "sylfaen_eng_14.css", css) && WriteText(media / "sylfaen.fs", fs);
}

// The clock font: the characters of a clock text in 64 x 64 cells, four to a line, on a magenta
// ground that the colour key makes transparent. Each glyph's rectangle starts one pixel into its
// cell and is its advance plus a pixel on each side wide.
constexpr int kBigCell = 64;
constexpr int kBigPerLine = 4;
constexpr uint32_t kBigTextureWidth = 256;
constexpr uint32_t kColorKey = 0xFFFF00FF;
constexpr const char kClockCharacters[] = "0123456789amp:";
constexpr int kClockCharacterCount = sizeof kClockCharacters - 1;
// A rectangle is named by a quoted character, and a name with a dot in it is a path, so '.'
// takes the grid's rectangle instead: its width is named by its code, and its glyph sits at the
// left of its own cell, row 11, column 2. The picture is 16 rows tall to hold that row.
constexpr uint32_t kDot = '.';
constexpr uint32_t kBigTextureHeight = 1024;
static_assert((kDot / kBigPerLine + 1) * kBigCell <= kBigTextureHeight);

bool WriteClockFont(const fs::path& media) {
    GlyphRasterizer glyphs;
    // At 63 pixels the condensed bold "m" advances 59 pixels: its rectangle is 61 wide.
    if (!glyphs.Open(kFontDir + "/DejaVuSansCondensed-Bold.ttf", 63)) return false;
    gfx::ArgbImage image(kBigTextureWidth, kBigTextureHeight);
    const int baseline = 50;
    std::string sizes, rects;
    // The blank is the fifteenth cell: its rectangle is empty ground.
    for (int index = 0; index <= kClockCharacterCount; ++index) {
        const char c = index < kClockCharacterCount ? kClockCharacters[index] : ' ';
        const auto code = static_cast<uint32_t>(static_cast<unsigned char>(c));
        const int x = index % kBigPerLine * kBigCell, y = index / kBigPerLine * kBigCell;
        const int advance = glyphs.Advance(code);
        if (advance + 2 > kBigCell - 1) {
            std::fprintf(stderr, "fonts: '%c' is too wide for its cell\n", c);
            return false;
        }
        const int clip[4] = {x, y, x + kBigCell, y + kBigCell};
        glyphs.Draw(code, x + 1, y + baseline, image, clip);
        const std::string name = std::string("\"") + c + "\"";
        sizes += "  " + name + " = " + std::to_string(advance) + ",\n";
        rects += "  " + name + " = array(" + std::to_string(x + 1) + ", " + std::to_string(y) + ", " +
                 std::to_string(x + 1 + advance + 1) + ", " + std::to_string(y + kBigCell - 1) + "),\n";
    }
    const int dotX = static_cast<int>(kDot % kBigPerLine) * kBigCell, dotY = static_cast<int>(kDot / kBigPerLine) * kBigCell;
    const int dotClip[4] = {dotX, dotY, dotX + kBigCell, dotY + kBigCell};
    glyphs.Draw(kDot, dotX, dotY + baseline, image, dotClip);
    sizes += "  " + std::to_string(kDot) + " = " + std::to_string(glyphs.Advance(kDot)) + ",\n";
    for (uint32_t& pixel : image.pixels)
        if (pixel >> 24 == 0) pixel = kColorKey;
    sizes.erase(sizes.size() - 2, 1);  // the last comma
    rects.erase(rects.size() - 2, 1);
    const std::string css =
        "// The clock font: DejaVu Sans Condensed Bold at 63 pixels in 64 x 64 cells.\n"
        "Name = \"font02.dds\";\n"
        "Format = 21;\n"
        "ColorKey = array(255, 0, 255);\n"
        "StartChar = 0;\n"
        "EndChar = 255;\n"
        "CharsPerLine = 4;\n"
        "CharWidth = 64;\n"
        "CharHeight = 64;\n"
        "Sizes = object(\n" + sizes + ");\n"
        "Rects = object(\n" + rects + ");\n";
    const std::string fs =
        "Name = \"64font\";\n"
        "Styles = array(object(Size = 64, Charsets = array(\"64font.css\")));\n";
    return WriteMediaFile(media / "font02.dds", gfx::EncodeDds(image)) && WriteText(media / "64font.css", css) &&
           WriteText(media / "64font.fs", fs);
}

bool GenerateFonts(const fs::path& media) { return WriteInterfaceFont(media) && WriteClockFont(media); }

const MediaGeneratorRegistration kRegistration({"fonts", &GenerateFonts});

}  // namespace
