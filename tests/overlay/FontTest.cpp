// Loading fonts and charsets: the generated fonts, every key of a charset file, and damaged files.

#include "overlay/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "OverlayFixture.h"
#include "overlay/TextElement.h"
#include "resources/RarArchive.h"
#include "udf/UdfTextNode.h"

namespace {

class FontTest : public OverlayFixture {
protected:
    // A charset over a 64 x 32 picture "cells.png", with `keys` added.
    std::unique_ptr<Charset> LoadCharset(const std::string& keys) {
        WritePicture("cells.png", 64, 32);
        WriteText("test.css", "Name = \"cells.png\"; CharsPerLine = 4; CharWidth = 16; CharHeight = 16;\n" + keys);
        auto charset = std::make_unique<Charset>("test.css");
        loaded = charset->Load(media, manager);
        return charset;
    }
    bool loaded = false;
};

void ExpectRect(const TextureRect& rect, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(rect.left, left);
    EXPECT_FLOAT_EQ(rect.top, top);
    EXPECT_FLOAT_EQ(rect.right, right);
    EXPECT_FLOAT_EQ(rect.bottom, bottom);
}

TEST_F(FontTest, GeneratedInterfaceFontPutsTheDollarInRowTwoColumnZeroSixPixelsWide) {
    Font font;
    ASSERT_TRUE(font.Load("/sylfaen.fs", media, manager));
    EXPECT_EQ(font.Name(), "Sylfaen");
    ASSERT_EQ(font.Styles().size(), 1u);
    const FontStyle& style = *font.Styles()[0];
    EXPECT_EQ(style.Size(), 14);
    ASSERT_EQ(style.Charsets().size(), 1u);
    const Charset& charset = *style.Charsets()[0];
    ASSERT_TRUE(charset.Loaded());
    EXPECT_EQ(charset.startChar, 0);
    EXPECT_EQ(charset.endChar, 255);
    EXPECT_EQ(charset.charsPerLine, 18);
    EXPECT_EQ(charset.texture->LevelDesc().Format, gfx::D3DFMT_A8R8G8B8);
    EXPECT_EQ(charset.Width('$'), 6);
    ExpectRect(charset.Rect('$'), 0.0f, 28.0f / 256, 6.0f / 256, 42.0f / 256);
    // Every printable character has a glyph; control codes have none.
    for (int ch = 32; ch < 127; ++ch) EXPECT_GT(charset.Width(ch), 0) << ch;
    EXPECT_EQ(charset.Width(10), 0);
    EXPECT_EQ(style.CharsetFor('A'), &charset);
}

TEST_F(FontTest, GeneratedClockFontTakesTheRectangleOfMOverItsSize) {
    Font font;
    ASSERT_TRUE(font.Load("/64font.fs", media, manager));
    ASSERT_EQ(font.Styles().size(), 1u);
    EXPECT_EQ(font.Styles()[0]->Size(), 64);
    const Charset& charset = *font.Styles()[0]->Charsets()[0];
    ASSERT_TRUE(charset.Loaded());
    EXPECT_EQ(charset.colorKey, 0xFFFF00FFu);
    EXPECT_EQ(charset.Width('m'), 61);  // "Sizes" says 59; "Rects" come after it
    ExpectRect(charset.Rect('m'), 193.0f / 256, 128.0f / 1024, 253.0f / 256, 191.0f / 1024);
    for (const char c : std::string("0123456789amp.: ")) EXPECT_GT(charset.Width(c), 0) << c;
    EXPECT_EQ(charset.Width('x'), 0);
    // The magenta ground became transparent; the glyphs are white with their coverage in alpha.
    const gfx::Texture& texture = *charset.texture->D3DTexture();
    uint32_t corner = 0;
    std::memcpy(&corner, texture.LevelBits(0) + static_cast<size_t>(255) * texture.Pitch(0) + 4 * 255, 4);
    EXPECT_EQ(corner, 0u);
}

// A charset cannot name '.' in "Rects" (a name with a dot is a path): the clock font gives its
// width by code and draws it where the grid puts it, row 11, column 2.
TEST_F(FontTest, GeneratedClockFontDrawsTheDotInItsGridCell) {
    Font font;
    ASSERT_TRUE(font.Load("/64font.fs", media, manager));
    const Charset& charset = *font.Styles()[0]->Charsets()[0];
    ASSERT_TRUE(charset.Loaded());
    const int width = charset.Width('.');
    ASSERT_GT(width, 0);
    ExpectRect(charset.Rect('.'), 128.0f / 256, 704.0f / 1024, (128.0f + static_cast<float>(width)) / 256, 768.0f / 1024);
    // The glyph is inside that rectangle, on the baseline of the other glyphs.
    const gfx::Texture& texture = *charset.texture->D3DTexture();
    const auto alpha = [&](int x, int y) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, texture.LevelBits(0) + static_cast<size_t>(y) * texture.Pitch(0) + 4 * static_cast<size_t>(x), 4);
        return pixel >> 24;
    };
    int inked = 0, inkedOutside = 0, lowestRow = 0;
    for (int y = 704; y < 768; ++y) {
        for (int x = 128; x < 192; ++x) {
            if (alpha(x, y) < 128) continue;
            (x < 128 + width ? inked : inkedOutside) += 1;
            lowestRow = std::max(lowestRow, y - 704);
        }
    }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(inkedOutside, 0);
    EXPECT_GE(lowestRow, 40);  // a dot, not a mark in the middle of the cell

    // A text with a dot lays out a glyph for each character, the dot with that rectangle.
    TextElement text;
    text.SetFont(&font);
    text.SetAttributes({.size = 64});
    text.SetText("12.5");
    text.Layout(400);
    ASSERT_EQ(text.Vertices().size(), 4u * 6);
    EXPECT_FLOAT_EQ(text.Vertices()[2 * 6].u, charset.Rect('.').left);
    EXPECT_FLOAT_EQ(text.Vertices()[2 * 6].v, charset.Rect('.').top);
}

TEST_F(FontTest, BothFontsLoadFromTheMediaArchiveAsTheProgramMountsIt) {
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(EngineString(QUELMONT_BINARY_DIR "/media/media.rar"))));
    const MediaFiles fromArchive = [&](const EngineString& name) {
        return FileSource(&archive, "Media/" + name);
    };
    Font small, clock;
    ASSERT_TRUE(small.Load("/sylfaen.fs", fromArchive, manager));
    ASSERT_TRUE(clock.Load("/64font.fs", fromArchive, manager));
    EXPECT_TRUE(small.Styles()[0]->Charsets()[0]->Loaded());
    EXPECT_TRUE(clock.Styles()[0]->Charsets()[0]->Loaded());
    EXPECT_EQ(Trace(), "");
}

TEST_F(FontTest, SizesByIndexOrQuotedCharacterAndRectsOverridingTheGrid) {
    auto charset = LoadCharset(
        "StartChar = 32; EndChar = 40;\n"
        "Sizes = object(\"!\" = 5, 2 = 7, \"$\" = 9);\n"
        "Rects = object(\"$\" = array(10, 20, 29, 27), \"%\" = array(1, 2, 3));\n");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(charset->widths.size(), 9u);
    EXPECT_EQ(charset->Width('!'), 5);
    EXPECT_EQ(charset->Width('"'), 7);  // index 2 from the start
    EXPECT_EQ(charset->Width('#'), 0);
    // The grid: cell d = 1 is row 0, column 1, left-aligned and as wide as its glyph.
    ExpectRect(charset->Rect('!'), 16.0f / 64, 0.0f, 21.0f / 64, 16.0f / 32);
    // d = 5 is row 1, column 1.
    EXPECT_FLOAT_EQ(charset->Rect('%').top, 16.0f / 32);
    // A rectangle wins over the grid and over "Sizes"; one with three values is no rectangle.
    EXPECT_EQ(charset->Width('$'), 20);
    ExpectRect(charset->Rect('$'), 10.0f / 64, 20.0f / 32, 29.0f / 64, 27.0f / 32);
}

TEST_F(FontTest, ColorKeyAsChannelsByIndexOrLetterOrAsOneNumber) {
    EXPECT_EQ(LoadCharset("ColorKey = array(255, 0, 255);")->colorKey, 0xFFFF00FFu);
    EXPECT_EQ(LoadCharset("ColorKey = object(r = 1, g = 2, b = 3);")->colorKey, 0xFF010203u);
    EXPECT_EQ(LoadCharset("ColorKey = 4278255615;")->colorKey, 0xFF00FFFFu);
    EXPECT_EQ(LoadCharset("")->colorKey, 0u);
    EXPECT_EQ(LoadCharset("Format = 22;")->format, gfx::D3DFMT_X8R8G8B8);
    // A format's name as texture description files write it; a name the engine does not know
    // reads as a number, 0.
    EXPECT_EQ(LoadCharset("Format = \"D3DFMT_A4R4G4B4\";")->format, gfx::D3DFMT_A4R4G4B4);
    EXPECT_EQ(LoadCharset("Format = \"D3DFMT_DXT1\";")->format, gfx::D3DFMT_UNKNOWN);
    EXPECT_TRUE(loaded);
}

TEST_F(FontTest, DamagedCharsetsFailWithoutReadingOutsideTheirTables) {
    EXPECT_FALSE(LoadCharset("StartChar = 50; EndChar = 40;")->Loaded());
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(LoadCharset("StartChar = -5;")->Loaded());
    EXPECT_FALSE(LoadCharset("EndChar = 2000000000;")->Loaded());
    EXPECT_FALSE(LoadCharset("CharsPerLine = 0;")->Loaded());
    // Cells of any size make a grid without overflowing (a fuzz run found these).
    const auto huge = LoadCharset("EndChar = 9; CharWidth = -2147483648; CharHeight = 2147483647;");
    ASSERT_TRUE(loaded);
    EXPECT_FLOAT_EQ(huge->uvRects[6].left, 2.0f * -2147483648.0f / 64.0f);
    EXPECT_FLOAT_EQ(huge->uvRects[6].top, 2147483647.0f / 32.0f);
    // Indices outside the table are skipped; the rest loads.
    auto charset = LoadCharset("EndChar = 3; Sizes = object(7 = 9, 3 = 4, \"z\" = 1, 99999999 = 2);"
                               "Rects = object(\"~\" = array(0, 0, 4, 4), \"\" = array(0, 0, 4, 4));");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(charset->widths, (std::vector<uint8_t>{0, 0, 0, 4}));
    // A rectangle drawn backwards gives no width instead of a wrapped one.
    EXPECT_EQ(LoadCharset("Rects = object(\"A\" = array(9, 0, 2, 4));")->Width('A'), 0);
    // Edges as far apart as they go, either way round (a fuzz run found the first).
    EXPECT_EQ(LoadCharset("Rects = object(\"A\" = array(2, 0, -2147483648, 4));")->Width('A'), 0);
    EXPECT_EQ(LoadCharset("Rects = object(\"A\" = array(-2147483648, 0, 2147483647, 4));")->Width('A'), 255);

    Charset missing("nowhere.css");
    EXPECT_FALSE(missing.Load(media, manager));
    WriteText("empty.css", "");
    Charset empty("empty.css");
    EXPECT_FALSE(empty.Load(media, manager));
    EXPECT_EQ(Trace(), "");  // only a texture failure is reported by the charset itself
}

TEST_F(FontTest, ATextureThatDoesNotLoadIsReported) {
    WriteText("broken.png", "not a picture");
    WriteText("a.css", "Name = \"broken.png\"; CharsPerLine = 4;");
    WriteText("b.css", "CharsPerLine = 4;");
    Charset broken("a.css"), unnamed("b.css");
    EXPECT_FALSE(broken.Load(media, manager));
    EXPECT_FALSE(unnamed.Load(media, manager));
    EXPECT_EQ(Trace(), "Error: font texture loading failed\nError: font texture loading failed\n");
}

TEST_F(FontTest, FontKeepsStylesBySizeAndAFailingCharsetInItsStyle) {
    WritePicture("cells.png", 64, 32);
    WriteText("good.css", "Name = \"cells.png\"; CharsPerLine = 4;");
    WriteText("test.fs",
              "Name = \"Test\";\n"
              "Styles = array(\n"
              "  object(Size = 20, Bold = 1, Charsets = array(\"missing.css\", \"good.css\")),\n"
              "  object(Size = 10, Bold = 0, Italic = 2, FontName = \"Other\"),\n"
              "  object(Size = 20, Bold = 1, Charsets = array(\"good.css\")));\n");
    Font font;
    ASSERT_TRUE(font.Load("test.fs", media, manager));
    ASSERT_EQ(font.Styles().size(), 2u);  // the third style is the first one again
    const FontStyle& small = *font.Styles()[0];
    const FontStyle& large = *font.Styles()[1];
    EXPECT_EQ(small.Size(), 10);
    EXPECT_EQ(small.Flags(), uint32_t{FontStyle::kItalic});
    EXPECT_EQ(small.FontName(), "Other");
    EXPECT_EQ(large.Flags(), uint32_t{FontStyle::kBold});
    ASSERT_EQ(large.Charsets().size(), 3u);
    EXPECT_FALSE(large.Charsets()[0]->Loaded());
    EXPECT_TRUE(large.Charsets()[1]->Loaded());
    // Characters are found in the first charset that loaded.
    EXPECT_EQ(large.CharsetFor('A'), large.Charsets()[1].get());
    EXPECT_EQ(Trace(), "Error: Charset 'missing.css' loading failed\n");
    EXPECT_EQ(font.StyleFor(14), &small);
    EXPECT_EQ(font.StyleFor(16), &large);

    Font none;
    EXPECT_FALSE(none.Load("none.fs", media, manager));
}

}  // namespace
