// The "preview" kind of the media generator: the small picture a screensaver host shows in its
// settings, the clock room at night, as a 24-bit BMP.
#include <algorithm>
#include <cmath>

#include "MediaGenerator.h"
#include "media/Manifest.h"
#include "paint/Canvas.h"
#include "platform/gfx/loader/ImageEncoders.h"

using paint::Bytes;
using paint::Canvas;
using paint::Rgb;

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

// A disc with a soft one-pixel edge.
void FillDisc(Canvas& c, float cx, float cy, float radius, Rgb colour) {
    for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
        for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            c.Blend(x, y, colour, radius + 0.5f - d);
        }
}

// Light washing over the picture from a centre: `colour` mixed in with `strength` there, fading
// to nothing at `radius`.
void Halo(Canvas& c, float cx, float cy, float radius, Rgb colour, float strength) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const float d = std::hypot(static_cast<float>(x) - cx, static_cast<float>(y) - cy) / radius;
            if (d < 1.0f) c.Blend(x, y, colour, strength * (1.0f - d) * (1.0f - d));
        }
}

// A one-pixel line, hard-edged as the picture's small size wants.
void Line(Canvas& c, float x0, float y0, float x1, float y1, Rgb colour, float alpha = 1.0f) {
    const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) * 2 + 1;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        c.Blend(static_cast<int>(x0 + (x1 - x0) * t), static_cast<int>(y0 + (y1 - y0) * t), colour, alpha);
    }
}

void FillRect(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour) {
    c.FillRect(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1), static_cast<float>(y1), colour);
}

constexpr int kFloorTop = 90;

void DrawRoom(Canvas& c) {
    c.VerticalGradient(0, kPreviewWidth, 0, kFloorTop, Bytes(24, 26, 44), Bytes(40, 36, 52));
    // Wainscot along the wall and floor planks.
    FillRect(c, 0, kFloorTop - 10, kPreviewWidth, kFloorTop - 9, Bytes(58, 44, 40));
    c.VerticalGradient(0, kPreviewWidth, kFloorTop, kPreviewHeight, Bytes(62, 40, 26), Bytes(34, 22, 16));
    for (int y = kFloorTop + 4; y < kPreviewHeight; y += 6) Line(c, 0, y, kPreviewWidth, y, Bytes(24, 15, 10), 0.6f);
}

void DrawWindow(Canvas& c) {
    const int x0 = 8, y0 = 12, x1 = 50, y1 = 66;
    c.VerticalGradient(x0, x1, y0, y1, Bytes(8, 10, 30), Bytes(34, 44, 78));
    // Hills under the storm and a far line of light.
    for (int x = x0; x < x1; ++x) {
        const int hill = y1 - 10 + static_cast<int>(4.0f * std::sin(static_cast<float>(x) * 0.21f));
        FillRect(c, x, hill, x + 1, y1, Bytes(12, 16, 22));
    }
    // The lightning bolt and the flash it throws on the clouds.
    Halo(c, 19, 22, 22, Bytes(150, 160, 230), 0.45f);
    const float bolt[][2] = {{22, 13}, {17, 25}, {22, 27}, {14, 41}, {18, 42}, {12, 54}};
    for (int i = 0; i + 1 < 6; ++i) {
        Line(c, bolt[i][0], bolt[i][1], bolt[i + 1][0], bolt[i + 1][1], Bytes(240, 244, 255));
        Line(c, bolt[i][0] + 1, bolt[i][1], bolt[i + 1][0] + 1, bolt[i + 1][1], Bytes(170, 190, 255), 0.6f);
    }
    // Rain.
    for (int i = 0; i < 26; ++i) {
        const float x = static_cast<float>(x0 + (i * 37) % (x1 - x0));
        const float y = static_cast<float>(y0 + (i * 23) % (y1 - y0 - 6));
        Line(c, x, y, x - 2, y + 6, Bytes(120, 140, 190), 0.55f);
    }
    // Frame, mullions and sill.
    const Rgb frame = Bytes(44, 28, 18);
    FillRect(c, x0 - 2, y0 - 2, x1 + 2, y0, frame);
    FillRect(c, x0 - 2, y1, x1 + 2, y1 + 3, frame);
    FillRect(c, x0 - 2, y0, x0, y1, frame);
    FillRect(c, x1, y0, x1 + 2, y1, frame);
    FillRect(c, (x0 + x1) / 2 - 1, y0, (x0 + x1) / 2 + 1, y1, frame);
    FillRect(c, x0, (y0 + y1) / 2 - 1, x1, (y0 + y1) / 2, frame);
    // Curtain gathered on the right of the window, in folds.
    for (int y = y0 - 4; y < y1 + 14; ++y) {
        const int width = 9 + (y - y0) / 8;
        for (int x = x1 - 6; x < x1 - 6 + width; ++x) {
            const float fold = 0.75f + 0.25f * std::sin(static_cast<float>(x) * 1.3f);
            c.Blend(x, y, Bytes(static_cast<int>(110 * fold), static_cast<int>(22 * fold), static_cast<int>(30 * fold)), 1);
        }
    }
}

void DrawLamp(Canvas& c) {
    Halo(c, 128, 40, 40, Bytes(255, 190, 100), 0.5f);
    FillRect(c, 126, 48, 129, kFloorTop + 4, Bytes(40, 34, 28));           // pole
    FillRect(c, 120, kFloorTop + 3, 136, kFloorTop + 6, Bytes(36, 30, 24));  // foot
    for (int y = 30; y < 48; ++y) {                                         // shade, wider below
        const int half = 5 + (y - 30) / 3;
        FillRect(c, 128 - half, y, 128 + half, y + 1, Bytes(236, 186, 108));
    }
    FillRect(c, 122, 47, 134, 48, Bytes(255, 230, 170));
}

void DrawHand(Canvas& c, float cx, float cy, float angle, float length, Rgb colour) {
    Line(c, cx, cy, cx + std::sin(angle) * length, cy - std::cos(angle) * length, colour);
}

void DrawClock(Canvas& c) {
    const Rgb wood = Bytes(86, 48, 24), dark = Bytes(52, 28, 14), brass = Bytes(214, 170, 80);
    // Case: hood with a rounded top, a narrow trunk and a wide base; light from the lamp on the right.
    FillDisc(c, 81, 16, 15, wood);
    FillRect(c, 66, 16, 97, 40, wood);
    FillRect(c, 70, 40, 93, 82, wood);
    FillRect(c, 67, 82, 96, 97, wood);
    FillRect(c, 65, 97, 98, 100, dark);
    FillRect(c, 93, 40, 95, 82, Bytes(112, 66, 34));
    FillRect(c, 70, 40, 72, 82, dark);
    // Dial with hour marks and hands at ten past ten.
    FillDisc(c, 81, 22, 11, brass);
    FillDisc(c, 81, 22, 9.5f, Bytes(236, 228, 204));
    for (int hour = 0; hour < 12; ++hour) {
        const float a = static_cast<float>(hour) * kPi / 6.0f;
        Line(c, 81 + std::sin(a) * 7.5f, 22 - std::cos(a) * 7.5f, 81 + std::sin(a) * 9.0f, 22 - std::cos(a) * 9.0f,
             Bytes(40, 30, 24));
    }
    DrawHand(c, 81, 22, 10.2f / 12.0f * 2 * kPi, 5.0f, Bytes(20, 16, 14));
    DrawHand(c, 81, 22, 10.0f / 60.0f * 2 * kPi, 8.0f, Bytes(20, 16, 14));
    // Glass door of the trunk with the pendulum behind it.
    FillRect(c, 74, 46, 89, 78, Bytes(30, 20, 16));
    Line(c, 81, 46, 84, 70, brass);
    FillDisc(c, 84.5f, 71, 4, brass);
    FillDisc(c, 83.5f, 70, 1.5f, Bytes(255, 236, 170));
    Line(c, 75, 47, 80, 60, Bytes(140, 150, 170), 0.35f);  // a glint on the glass
}

bool GeneratePreview(const std::filesystem::path& dir) {
    Canvas canvas(kPreviewWidth, kPreviewHeight, {}, 1, Canvas::Depth::kEightBit);
    DrawRoom(canvas);
    DrawWindow(canvas);
    DrawLamp(canvas);
    DrawClock(canvas);
    return WriteMediaFile(dir / manifest::kPreviewBitmap.file, gfx::EncodeBmp(canvas.ToImage()));
}

const MediaGeneratorRegistration registration({"preview", GeneratePreview, MediaGenerator::kProgram});

}  // namespace
