// Recorded frames with the frame-rate and time labels on: each glyph of the expected texts is
// where the labels put it, compared with the same text laid out here from the generated fonts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "support/ProgramRun.h"
#include "platform/gfx/RecordingDevice.h"
#include "resources/RarArchive.h"
#include "scene/RenderDevice.h"
#include "shell/Labels.h"
#include "support/ImageFile.h"
#include "textures/TextureManager.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;

// The labels as the program makes them on a 1024-pixel screen, from the generated fonts.
class ExpectedLabels {
public:
    explicit ExpectedLabels(bool twentyFourHour) {
        archive_.Open(FileSource(EngineString(QUELMONT_BINARY_DIR "/media/media.rar")));
        const MediaFiles media = [this](const EngineString& name) { return FileSource(&archive_, "Media/" + name); };
        EXPECT_TRUE(overlay_.LoadFont("/sylfaen.fs", media, textures_));
        EXPECT_TRUE(overlay_.LoadFont("/64font.fs", media, textures_));
        frameRate = AddFrameRateLabel(overlay_, 1.0f);
        clock = AddClockLabel(overlay_, 1.0f, twentyFourHour);
    }
    // The main loop's refresh of the time label.
    void ShowTime(std::string_view text) {
        clock->SetText(text);
        clock->RefreshLayout();
        int width = 0, height = 0;
        clock->GetSize(width, height);
        clock->MoveTo(kWidth - width, kHeight - height);
    }

    TextLabel* frameRate = nullptr;
    TextLabel* clock = nullptr;

private:
    RarArchive archive_;
    gfx::RecordingDevice device_;
    TextureManager textures_{&device_};
    WindowManager overlay_;
};

struct Coverage {
    int glyphPixels = 0, glyphLit = 0;  // where the glyph covers most of a pixel, and the bright ones
    int clearPixels = 0, clearDark = 0;  // inside glyph boxes where it is empty, and the dark ones
};

// The glyph's alpha at a texture position, filtered as the device filters it.
float AlphaAt(const gfx::Texture& texture, float u, float v) {
    gfx::D3DSURFACE_DESC desc;
    texture.GetLevelDesc(0, desc);
    const auto w = static_cast<int>(desc.Width), h = static_cast<int>(desc.Height);
    const float x = u * static_cast<float>(w) - 0.5f, y = v * static_cast<float>(h) - 0.5f;
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const auto alpha = [&](int tx, int ty) {
        tx = std::clamp(tx, 0, w - 1), ty = std::clamp(ty, 0, h - 1);
        return static_cast<float>(texture.LevelBits(0)[static_cast<size_t>(ty) * texture.Pitch(0) + 4 * tx + 3]) / 255;
    };
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    return (alpha(x0, y0) * (1 - fx) + alpha(x0 + 1, y0) * fx) * (1 - fy) +
           (alpha(x0, y0 + 1) * (1 - fx) + alpha(x0 + 1, y0 + 1) * fx) * fy;
}

// Compares every pixel of every glyph quad of `label` with the frame.
void Compare(const TextLabel& label, const gfx::ArgbImage& frame, Coverage& c) {
    const OverlayWindow::Box box = label.ScreenBox(kWidth, kHeight);
    const auto vertices = label.Text().Vertices();
    const Font* font = label.Text().GetFont();
    const gfx::Texture& texture = *font->Styles()[0]->Charsets()[0]->texture->D3DTexture();
    for (size_t q = 0; q + 6 <= vertices.size(); q += 6) {
        const OverlayVertex& a = vertices[q];
        const OverlayVertex& b = vertices[q + 2];
        // The quad's edges lie half a pixel before the pixel centres it covers.
        const float left = a.x + 0.5f + static_cast<float>(box.left), top = a.y + 0.5f + static_cast<float>(box.top);
        const float right = b.x + 0.5f + static_cast<float>(box.left), bottom = b.y + 0.5f + static_cast<float>(box.top);
        for (int py = static_cast<int>(top); py < static_cast<int>(bottom); ++py) {
            for (int px = static_cast<int>(left); px < static_cast<int>(right); ++px) {
                const float u = a.u + (static_cast<float>(px) + 0.5f - left) / (right - left) * (b.u - a.u);
                const float v = a.v + (static_cast<float>(py) + 0.5f - top) / (bottom - top) * (b.v - a.v);
                const float alpha = AlphaAt(texture, u, v);
                const uint32_t pixel = frame.Row(static_cast<uint32_t>(py))[px];
                const uint32_t low = std::min({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF});
                const uint32_t high = std::max({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF});
                // White over the dark background: at least 70 % glyph is at least 150 in every
                // channel.
                if (alpha >= 0.7f) {
                    ++c.glyphPixels;
                    c.glyphLit += low >= 150;
                } else if (alpha < 0.01f) {
                    ++c.clearPixels;
                    c.clearDark += high < 200;
                }
            }
        }
    }
}

void ExpectLabelsInFrame(bool twentyFourHour, const char* expectedTime) {
    TempDir dir;
    const std::string out = dir.path() + "/out";
    const ProgramRun run = RunProgram(dir, {"--record", out, "--seconds", "1", "--fps", "4", "--time", "13:05:07",
                                            "--set", "ShowFps=1", "--set", "ShowTime=1", "--set",
                                            std::string("TimeStyle=") + (twentyFourHour ? "1" : "0"), "--set", "Gamma=0"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    gfx::ArgbImage frame;
    // The last of four frames at 0.75 s: the startup picture is gone, the time not yet advanced.
    ASSERT_TRUE(ReadImageFile(out + "/frame-00003.png", frame));
    ASSERT_EQ(frame.width, uint32_t{kWidth});

    ExpectedLabels expected(twentyFourHour);
    expected.ShowTime(expectedTime);
    Coverage clock, frameRate;
    Compare(*expected.clock, frame, clock);
    Compare(*expected.frameRate, frame, frameRate);
    for (const Coverage* c : {&clock, &frameRate}) {
        ASSERT_GT(c->glyphPixels, 40);
        EXPECT_GE(c->glyphLit, c->glyphPixels * 97 / 100) << c->glyphLit << " of " << c->glyphPixels;
        EXPECT_GE(c->clearDark, c->clearPixels * 97 / 100) << c->clearDark << " of " << c->clearPixels;
    }
    // The time sits in the lower-right corner, the frame rate at (10, 10).
    const OverlayWindow::Box box = expected.clock->ScreenBox(kWidth, kHeight);
    EXPECT_EQ(box.left + box.width, kWidth);
    EXPECT_EQ(box.top + box.height, kHeight);
    EXPECT_EQ(expected.frameRate->ScreenBox(kWidth, kHeight).left, 10);
}

TEST(LabelRecording, TwelveHourTimeInTheLowerRightAndTheFirstFrameRateInTheUpperLeft) {
    ExpectLabelsInFrame(false, "1:05:07 pm");
}

TEST(LabelRecording, TwentyFourHourTime) { ExpectLabelsInFrame(true, "13:05:07 "); }

}  // namespace
