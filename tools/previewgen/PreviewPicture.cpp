#include "PreviewPicture.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {}

    // Mixes `colour` into the pixel with weight `alpha` (0..1).
    void Blend(int x, int y, Rgb colour, float alpha = 1.0f) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        Rgb& p = pixels_[static_cast<size_t>(y * width_ + x)];
        alpha = std::clamp(alpha, 0.0f, 1.0f);
        p.r = Mix(p.r, colour.r, alpha);
        p.g = Mix(p.g, colour.g, alpha);
        p.b = Mix(p.b, colour.b, alpha);
    }

    void FillRect(int x0, int y0, int x1, int y1, Rgb colour) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Blend(x, y, colour);
    }

    // A vertical gradient from `top` at y0 to `bottom` at y1.
    void Gradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
        for (int y = y0; y < y1; ++y) {
            const float t = y1 - 1 > y0 ? static_cast<float>(y - y0) / static_cast<float>(y1 - 1 - y0) : 0.0f;
            const Rgb c{Mix(top.r, bottom.r, t), Mix(top.g, bottom.g, t), Mix(top.b, bottom.b, t)};
            for (int x = x0; x < x1; ++x) Blend(x, y, c);
        }
    }

    // A disc with a soft one-pixel edge.
    void FillCircle(float cx, float cy, float radius, Rgb colour) {
        for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
            for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1; ++x) {
                const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
                Blend(x, y, colour, radius + 0.5f - d);
            }
    }

    // Light falling off from a centre: adds `colour` with strength 1 at the centre, 0 at `radius`.
    void Glow(float cx, float cy, float radius, Rgb colour, float strength) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const float d = std::hypot(static_cast<float>(x) - cx, static_cast<float>(y) - cy) / radius;
                if (d < 1.0f) Blend(x, y, colour, strength * (1.0f - d) * (1.0f - d));
            }
    }

    void Line(float x0, float y0, float x1, float y1, Rgb colour, float alpha = 1.0f) {
        const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) * 2 + 1;
        for (int i = 0; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            Blend(static_cast<int>(x0 + (x1 - x0) * t), static_cast<int>(y0 + (y1 - y0) * t), colour, alpha);
        }
    }

    std::vector<Rgb> Take() { return std::move(pixels_); }

private:
    static uint8_t Mix(uint8_t a, uint8_t b, float t) {
        return static_cast<uint8_t>(std::lround(static_cast<float>(a) + (static_cast<float>(b) - a) * t));
    }

    int width_, height_;
    std::vector<Rgb> pixels_;
};

constexpr int kFloorTop = 90;

void DrawRoom(Canvas& c) {
    c.Gradient(0, 0, kPreviewWidth, kFloorTop, {24, 26, 44}, {40, 36, 52});
    // Wainscot along the wall and floor planks.
    c.FillRect(0, kFloorTop - 10, kPreviewWidth, kFloorTop - 9, {58, 44, 40});
    c.Gradient(0, kFloorTop, kPreviewWidth, kPreviewHeight, {62, 40, 26}, {34, 22, 16});
    for (int y = kFloorTop + 4; y < kPreviewHeight; y += 6) c.Line(0, y, kPreviewWidth, y, {24, 15, 10}, 0.6f);
}

void DrawWindow(Canvas& c) {
    const int x0 = 8, y0 = 12, x1 = 50, y1 = 66;
    c.Gradient(x0, y0, x1, y1, {8, 10, 30}, {34, 44, 78});
    // Hills under the storm and a far line of light.
    for (int x = x0; x < x1; ++x) {
        const int hill = y1 - 10 + static_cast<int>(4.0f * std::sin(static_cast<float>(x) * 0.21f));
        c.FillRect(x, hill, x + 1, y1, {12, 16, 22});
    }
    // The lightning bolt and the flash it throws on the clouds.
    c.Glow(19, 22, 22, {150, 160, 230}, 0.45f);
    const float bolt[][2] = {{22, 13}, {17, 25}, {22, 27}, {14, 41}, {18, 42}, {12, 54}};
    for (int i = 0; i + 1 < 6; ++i) {
        c.Line(bolt[i][0], bolt[i][1], bolt[i + 1][0], bolt[i + 1][1], {240, 244, 255});
        c.Line(bolt[i][0] + 1, bolt[i][1], bolt[i + 1][0] + 1, bolt[i + 1][1], {170, 190, 255}, 0.6f);
    }
    // Rain.
    for (int i = 0; i < 26; ++i) {
        const float x = static_cast<float>(x0 + (i * 37) % (x1 - x0));
        const float y = static_cast<float>(y0 + (i * 23) % (y1 - y0 - 6));
        c.Line(x, y, x - 2, y + 6, {120, 140, 190}, 0.55f);
    }
    // Frame, mullions and sill.
    const Rgb frame{44, 28, 18};
    c.FillRect(x0 - 2, y0 - 2, x1 + 2, y0, frame);
    c.FillRect(x0 - 2, y1, x1 + 2, y1 + 3, frame);
    c.FillRect(x0 - 2, y0, x0, y1, frame);
    c.FillRect(x1, y0, x1 + 2, y1, frame);
    c.FillRect((x0 + x1) / 2 - 1, y0, (x0 + x1) / 2 + 1, y1, frame);
    c.FillRect(x0, (y0 + y1) / 2 - 1, x1, (y0 + y1) / 2, frame);
    // Curtain gathered on the right of the window, in folds.
    for (int y = y0 - 4; y < y1 + 14; ++y) {
        const int width = 9 + (y - y0) / 8;
        for (int x = x1 - 6; x < x1 - 6 + width; ++x) {
            const float fold = 0.75f + 0.25f * std::sin(static_cast<float>(x) * 1.3f);
            c.Blend(x, y, {static_cast<uint8_t>(110 * fold), static_cast<uint8_t>(22 * fold), static_cast<uint8_t>(30 * fold)});
        }
    }
}

void DrawLamp(Canvas& c) {
    c.Glow(128, 40, 40, {255, 190, 100}, 0.5f);
    c.FillRect(126, 48, 129, kFloorTop + 4, {40, 34, 28});           // pole
    c.FillRect(120, kFloorTop + 3, 136, kFloorTop + 6, {36, 30, 24});  // foot
    for (int y = 30; y < 48; ++y) {                                   // shade, wider below
        const int half = 5 + (y - 30) / 3;
        c.FillRect(128 - half, y, 128 + half, y + 1, {236, 186, 108});
    }
    c.FillRect(122, 47, 134, 48, {255, 230, 170});
}

void DrawHand(Canvas& c, float cx, float cy, float angle, float length, Rgb colour) {
    c.Line(cx, cy, cx + std::sin(angle) * length, cy - std::cos(angle) * length, colour);
}

void DrawClock(Canvas& c) {
    const Rgb wood{86, 48, 24}, dark{52, 28, 14}, brass{214, 170, 80};
    // Case: hood with a rounded top, a narrow trunk and a wide base; light from the lamp on the right.
    c.FillCircle(81, 16, 15, wood);
    c.FillRect(66, 16, 97, 40, wood);
    c.FillRect(70, 40, 93, 82, wood);
    c.FillRect(67, 82, 96, 97, wood);
    c.FillRect(65, 97, 98, 100, dark);
    c.FillRect(93, 40, 95, 82, {112, 66, 34});
    c.FillRect(70, 40, 72, 82, dark);
    // Dial with hour marks and hands at ten past ten.
    c.FillCircle(81, 22, 11, brass);
    c.FillCircle(81, 22, 9.5f, {236, 228, 204});
    for (int hour = 0; hour < 12; ++hour) {
        const float a = static_cast<float>(hour) * kPi / 6.0f;
        c.Line(81 + std::sin(a) * 7.5f, 22 - std::cos(a) * 7.5f, 81 + std::sin(a) * 9.0f, 22 - std::cos(a) * 9.0f,
               {40, 30, 24});
    }
    DrawHand(c, 81, 22, 10.2f / 12.0f * 2 * kPi, 5.0f, {20, 16, 14});
    DrawHand(c, 81, 22, 10.0f / 60.0f * 2 * kPi, 8.0f, {20, 16, 14});
    // Glass door of the trunk with the pendulum behind it.
    c.FillRect(74, 46, 89, 78, {30, 20, 16});
    c.Line(81, 46, 84, 70, brass);
    c.FillCircle(84.5f, 71, 4, brass);
    c.FillCircle(83.5f, 70, 1.5f, {255, 236, 170});
    c.Line(75, 47, 80, 60, {140, 150, 170}, 0.35f);  // a glint on the glass
}

}  // namespace

std::vector<Rgb> DrawPreviewPicture() {
    Canvas canvas(kPreviewWidth, kPreviewHeight);
    DrawRoom(canvas);
    DrawWindow(canvas);
    DrawLamp(canvas);
    DrawClock(canvas);
    return canvas.Take();
}

std::vector<uint8_t> EncodeBmp(const std::vector<Rgb>& pixels, int width, int height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> file;
    file.reserve(headerBytes + imageBytes);
    auto put16 = [&](uint32_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    put32(headerBytes + imageBytes);
    put32(0);
    put32(headerBytes);
    put32(40);  // the information header
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));  // positive: rows stored bottom-up
    put16(1);
    put16(24);
    put32(0);  // no compression
    put32(imageBytes);
    put32(2835);  // 72 dpi
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y * width + x)];
            file.push_back(p.b);
            file.push_back(p.g);
            file.push_back(p.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) file.push_back(0);
    }
    return file;
}
