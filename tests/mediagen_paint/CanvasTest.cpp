// The painters' canvas: how paints compose, what shapes cover, and the two depths.
#include <gtest/gtest.h>

#include "paint/Canvas.h"
#include "paint/StrokeFont.h"

namespace {

using paint::Bytes;
using paint::Canvas;

uint32_t Pixel(const Canvas& canvas, int x, int y) { return canvas.ToImage().Row(static_cast<uint32_t>(y))[x]; }

TEST(Canvas, PaintsComposeWithStraightAlpha) {
    Canvas canvas(1, 1, {}, 0);
    canvas.Blend(0, 0, Bytes(255, 0, 0), 0.5f);
    EXPECT_EQ(Pixel(canvas, 0, 0), 0x80FF0000u);  // half covered, the colour kept whole
    canvas.Blend(0, 0, Bytes(0, 0, 255), 0.5f);
    EXPECT_EQ(Pixel(canvas, 0, 0), 0xBF5500AAu);  // three quarters: one part red, two parts blue
    canvas.Blend(0, 0, Bytes(0, 255, 0), 1.5f);   // more than opaque is opaque
    EXPECT_EQ(Pixel(canvas, 0, 0), 0xFF00FF00u);
    canvas.Blend(-1, 0, Bytes(255, 255, 255), 1);  // outside: nothing, and no write past the pixels
    canvas.Blend(0, 1, Bytes(255, 255, 255), 1);
    EXPECT_EQ(Pixel(canvas, 0, 0), 0xFF00FF00u);
}

TEST(Canvas, ShapesCoverEdgePixelsByTheirShareAndStayInside) {
    Canvas canvas(3, 1);
    canvas.FillRect(0.5f, 0, 2, 1, Bytes(255, 255, 255));
    EXPECT_EQ(Pixel(canvas, 0, 0), 0xFF808080u);
    EXPECT_EQ(Pixel(canvas, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(canvas, 2, 0), 0xFF000000u);
    canvas.FillEllipse(1.5f, 0.5f, 100, 100, Bytes(0, 0, 255));  // far larger than the canvas
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(canvas, x, 0), 0xFF0000FFu);
    // Light beyond white is kept until the pixels are made, then clipped.
    canvas.Glow(1.5f, 0.5f, 10, Bytes(255, 255, 255), 4);
    EXPECT_EQ(Pixel(canvas, 1, 0), 0xFFFFFFFFu);
}

TEST(Canvas, EightBitDepthRoundsEachPaintToWholeLevels) {
    Canvas fine(1, 1), levels(1, 1, {}, 1, Canvas::Depth::kEightBit);
    for (Canvas* canvas : {&fine, &levels}) {
        canvas->Blend(0, 0, Bytes(1, 1, 1), 0.5f);  // half a level: rounded up at 8 bits
        canvas->Blend(0, 0, Bytes(0, 0, 0), 0.5f);  // and again
    }
    EXPECT_EQ(Pixel(fine, 0, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(levels, 0, 0), 0xFF010101u);
}

TEST(StrokeFont, TitlesPaintTheirLettersAndLeaveUnknownOnesBlank) {
    Canvas canvas(64, 24);
    const float width = paint::TitleWidth("TQ", 20, 0.5f);
    EXPECT_FLOAT_EQ(width, 2 * 20 * 0.72f + 10);
    paint::DrawTitle(canvas, "T?", 2, 2, 20, 0.5f, 2, Bytes(255, 255, 255), 1);
    EXPECT_EQ(Pixel(canvas, 9, 12), 0xFFFFFFFFu);   // the T's stem
    for (int x = 26; x < 64; ++x)
        for (int y = 0; y < 24; ++y) EXPECT_EQ(Pixel(canvas, x, y), 0xFF000000u) << x << "," << y;
}

}  // namespace
