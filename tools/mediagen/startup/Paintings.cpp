#include "Paintings.h"

#include <cmath>
#include <numbers>

#include "paint/Patterns.h"
#include "paint/StrokeFont.h"

using paint::Canvas;
using paint::Point;
using paint::Rgb;

namespace {

constexpr Rgb kGold{0.86f, 0.67f, 0.38f};
constexpr Rgb kLampLight{1.0f, 0.62f, 0.30f};
constexpr Rgb kWood{0.20f, 0.11f, 0.06f};
constexpr Rgb kDarkWood{0.12f, 0.07f, 0.04f};
constexpr Rgb kBrass{0.62f, 0.46f, 0.22f};
constexpr Rgb kIvory{0.72f, 0.62f, 0.46f};
constexpr Rgb kInk{0.07f, 0.045f, 0.03f};

Point Polar(Point centre, float radius, float degreesFromTwelve) {
    const float a = (degreesFromTwelve - 90) * std::numbers::pi_v<float> / 180;
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

// A dial with its ring, hour marks and hands at `hours`:`minutes`.
void PaintDial(Canvas& canvas, Point centre, float radius, Rgb face, Rgb ring, Rgb ink, float hours,
               float minutes, float alpha) {
    canvas.FillEllipse(centre.x, centre.y, radius + radius * 0.08f, radius + radius * 0.08f, ring, alpha);
    canvas.FillEllipse(centre.x, centre.y, radius, radius, face, alpha);
    for (int hour = 0; hour < 12; ++hour) {
        const float length = hour % 3 == 0 ? 0.2f : 0.12f;
        canvas.Stroke({Polar(centre, radius * 0.9f, hour * 30.0f), Polar(centre, radius * (0.9f - length), hour * 30.0f)},
                      std::max(1.0f, radius * (hour % 3 == 0 ? 0.06f : 0.035f)), ink, alpha);
    }
    const float hourAngle = (std::fmod(hours, 12.0f) + minutes / 60) * 30;
    canvas.Stroke({centre, Polar(centre, radius * 0.5f, hourAngle)}, std::max(1.5f, radius * 0.08f), ink, alpha);
    canvas.Stroke({centre, Polar(centre, radius * 0.78f, minutes * 6)}, std::max(1.0f, radius * 0.05f), ink, alpha);
    canvas.FillEllipse(centre.x, centre.y, radius * 0.07f, radius * 0.07f, ring, alpha);
}

void PaintWindow(Canvas& canvas) {
    const float x0 = 720, y0 = 140, x1 = 900, y1 = 440;
    canvas.FillRect(x0 - 12, y0 - 12, x1 + 12, y1 + 12, kDarkWood, 1);
    canvas.VerticalGradient(static_cast<int>(x0), static_cast<int>(x1), static_cast<int>(y0), static_cast<int>(y1),
                            {0.06f, 0.08f, 0.13f}, {0.025f, 0.03f, 0.05f}, 1);
    // Storm clouds lit from far away, and rain on the glass.
    canvas.Glow(790, 175, 70, {0.35f, 0.42f, 0.6f}, 0.12f);
    paint::Random random(7);
    for (int i = 0; i < 140; ++i) {
        const float x = x0 + random.Next() * (x1 - x0), y = y0 + random.Next() * (y1 - y0 - 20);
        const float length = 8 + random.Next() * 14;
        canvas.Stroke({{x, y}, {x - length * 0.25f, y + length}}, 1.0f, {0.55f, 0.62f, 0.75f}, 0.10f + random.Next() * 0.12f);
    }
    canvas.FillRect((x0 + x1) / 2 - 3, y0, (x0 + x1) / 2 + 3, y1, kDarkWood, 1);
    canvas.FillRect(x0, (y0 + y1) / 2 - 3, x1, (y0 + y1) / 2 + 3, kDarkWood, 1);
    // The sill catches a little lamp light.
    canvas.FillRect(x0 - 20, y1 + 12, x1 + 20, y1 + 20, {0.24f, 0.14f, 0.08f}, 1);
}

void PaintLamp(Canvas& canvas) {
    canvas.Glow(230, 430, 230, kLampLight, 0.20f);
    canvas.Glow(230, 430, 60, kLampLight, 0.35f);
    canvas.Stroke({{230, 450}, {230, 632}}, 5, kDarkWood, 1);
    canvas.FillEllipse(230, 636, 34, 7, kDarkWood, 1);
    // A fabric shade, lit from inside.
    canvas.FillShape(180, 380, 280, 452, {0.62f, 0.38f, 0.17f}, 1, [](float x, float y) {
        const float t = (y - 380) / 72;
        const float half = 30 + 20 * t;
        return std::abs(x - 230) <= half;
    });
    canvas.FillEllipse(230, 452, 50, 5, {0.95f, 0.72f, 0.42f}, 0.9f);
}

void PaintClock(Canvas& canvas) {
    const float cx = 512;
    // Case: plinth, trunk, hood with an arched top.
    canvas.FillRect(cx - 58, 598, cx + 58, 652, kDarkWood, 1);
    canvas.FillRect(cx - 44, 330, cx + 44, 600, kWood, 1);
    canvas.FillRect(cx - 44, 330, cx - 40, 600, {0.30f, 0.17f, 0.09f}, 0.8f);
    canvas.FillRect(cx - 60, 186, cx + 60, 334, {0.22f, 0.12f, 0.065f}, 1);
    canvas.FillShape(cx - 60, 150, cx + 60, 188, {0.22f, 0.12f, 0.065f}, 1, [&](float x, float y) {
        const float dx = (x - cx) / 60, dy = (y - 188) / 36;
        return dx * dx + dy * dy <= 1;
    });
    canvas.FillRect(cx - 66, 326, cx + 66, 336, kDarkWood, 1);
    canvas.FillEllipse(cx, 148, 6, 6, kBrass, 1);
    canvas.FillEllipse(cx - 56, 182, 4, 4, kBrass, 0.9f);
    canvas.FillEllipse(cx + 56, 182, 4, 4, kBrass, 0.9f);
    // The pendulum behind its glass.
    canvas.FillRect(cx - 24, 372, cx + 24, 572, {0.05f, 0.035f, 0.025f}, 1);
    canvas.Stroke({{cx, 376}, {cx + 6, 528}}, 2, kBrass, 1);
    canvas.FillEllipse(cx + 6, 536, 14, 14, kBrass, 1);
    canvas.FillEllipse(cx + 2, 531, 5, 4, {0.95f, 0.82f, 0.55f}, 0.7f);
    canvas.Stroke({{cx - 20, 380}, {cx - 6, 560}}, 3, {0.6f, 0.6f, 0.7f}, 0.06f);
    PaintDial(canvas, {cx, 258}, 44, kIvory, kBrass, kInk, 10, 9, 1);
    // The lamp warms the side of the case that faces it.
    canvas.Glow(cx - 70, 330, 90, kLampLight, 0.08f);
}

}  // namespace

Canvas PaintStartupPicture() {
    Canvas canvas(1024, 768, {0, 0, 0}, 1);
    canvas.VerticalGradient(0, 1024, 0, 640, {0.035f, 0.024f, 0.018f}, {0.075f, 0.048f, 0.032f}, 1);
    for (int x = 64; x < 1024; x += 128) canvas.FillRect(static_cast<float>(x), 0, x + 2.0f, 640, {0.15f, 0.1f, 0.06f}, 0.10f);
    canvas.VerticalGradient(0, 1024, 640, 768, {0.055f, 0.035f, 0.022f}, {0.02f, 0.013f, 0.01f}, 1);
    canvas.FillRect(0, 638, 1024, 641, {0.14f, 0.09f, 0.05f}, 1);
    PaintWindow(canvas);
    PaintLamp(canvas);
    PaintClock(canvas);

    const float height = 40, tracking = 0.55f;
    const float width = paint::TitleWidth("QUELMONT", height, tracking);
    canvas.Glow(512, 82, 140, kGold, 0.05f);
    paint::DrawTitle(canvas, "QUELMONT", 512 - width / 2, 62, height, tracking, 2.6f, kGold, 0.95f);
    canvas.FillRect(512 - width / 2, 122, 512 + width / 2, 123.2f, kGold, 0.35f);
    canvas.Vignette(0.6f);
    canvas.Grain(1.5f / 255, 11);
    return canvas;
}

Canvas PaintCornerLogo() {
    Canvas canvas(256, 128, {0, 0, 0}, 0);
    // A soft dark backing keeps the logo readable over any picture.
    canvas.FillShape(8, 20, 248, 108, {0.02f, 0.015f, 0.01f}, 0.45f, [](float x, float y) {
        const float dx = std::max({20 - x, x - 236, 0.0f}), dy = std::max({32 - y, y - 96, 0.0f});
        return dx * dx + dy * dy <= 144;
    });
    PaintDial(canvas, {58, 64}, 30, {0.16f, 0.1f, 0.06f}, kGold, kGold, 10, 9, 1);
    paint::DrawTitle(canvas, "QUELMONT", 102, 55, 18, 0.28f, 1.6f, kGold, 1);
    return canvas;
}
