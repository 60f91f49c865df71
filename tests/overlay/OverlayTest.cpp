// Text layout on the generated fonts, the overlay's drawing through the state cache, and input
// routing to windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "OverlayFixture.h"
#include "overlay/TextLabel.h"
#include "overlay/WindowManager.h"
#include "udf/UdfTextNode.h"

using namespace gfx;

namespace {

class OverlayTest : public OverlayFixture {
protected:
    OverlayTest() {
        EXPECT_TRUE(overlay.LoadFont("/sylfaen.fs", media, manager));
        EXPECT_TRUE(overlay.LoadFont("/64font.fs", media, manager));
    }
    const Charset& ClockCharset() const { return *overlay.FindFont("64font")->Styles()[0]->Charsets()[0]; }

    WindowManager overlay;
};

// The quad of glyph `i`: its box in pixels (pixel centres at the integers) and texture area.
struct Quad {
    float x0, y0, x1, y1, u0, v0, u1, v1;
};
Quad QuadAt(std::span<const OverlayVertex> vertices, size_t i) {
    const OverlayVertex& a = vertices[i * 6];
    const OverlayVertex& c = vertices[i * 6 + 2];
    return {a.x + 0.5f, a.y + 0.5f, c.x + 0.5f, c.y + 0.5f, a.u, a.v, c.u, c.v};
}

TEST_F(OverlayTest, ClockTextLaysOutTheCharsetsGlyphsSideBySideAndAlignsRight) {
    TextElement text;
    text.SetFont(overlay.FindFont("64FONT"));  // names are found in any case
    text.SetAttributes({.size = 64, .charSpace = 2, .textFloat = TextElement::Float::kRight});
    text.SetText("1m\x01x");  // characters without a glyph take no room
    text.Layout(300);
    const auto vertices = text.Vertices();
    ASSERT_EQ(vertices.size(), 12u);
    const Charset& charset = ClockCharset();
    const int one = charset.Width('1'), m = charset.Width('m');
    EXPECT_EQ(text.TextWidth(), one + 2 + m);
    EXPECT_EQ(text.TextHeight(), 64);
    const Quad q1 = QuadAt(vertices, 0), qm = QuadAt(vertices, 1);
    EXPECT_FLOAT_EQ(q1.x0, static_cast<float>(300 - text.TextWidth()));
    EXPECT_FLOAT_EQ(qm.x0, q1.x0 + static_cast<float>(one + 2));
    EXPECT_FLOAT_EQ(qm.x1 - qm.x0, 61.0f);
    EXPECT_FLOAT_EQ(qm.y1 - qm.y0, 63.0f);  // the rectangle's height
    EXPECT_FLOAT_EQ(qm.u0, charset.Rect('m').left);
    EXPECT_FLOAT_EQ(qm.v1, charset.Rect('m').bottom);
    EXPECT_EQ(vertices[0].color, 0xFFFFFFFFu);
}

TEST_F(OverlayTest, SizeScalesTheStyleAndRowsFollowLineBreaks) {
    TextElement text;
    UdfTextNode attributes;
    auto add = [&](const char* name, const char* value) {
        auto node = std::make_unique<UdfTextNode>();
        node->SetValue(value);
        attributes.AddChild(name, std::move(node));
    };
    add("Size", "28");
    add("RowSpace", "3");
    add("Color", "4294901760");  // opaque red
    add("BGColor", "2147483648");  // half-transparent black
    add("TextFloat", "center");
    text.ReadAttributes(attributes);
    text.SetFont(overlay.FindFont("Sylfaen"));
    text.SetText("$\n$$");
    text.Layout(100);
    // The background quad, then three glyphs at twice the 14-pixel style.
    const auto vertices = text.Vertices();
    ASSERT_EQ(vertices.size(), 24u);
    EXPECT_EQ(text.TextWidth(), 24);
    EXPECT_EQ(text.TextHeight(), 28 + 3 + 28);
    const Quad background = QuadAt(vertices, 0);
    EXPECT_FLOAT_EQ(background.x0, 38.0f);
    EXPECT_FLOAT_EQ(background.x1 - background.x0, 24.0f);
    EXPECT_EQ(vertices[0].color, 0x80000000u);
    const Quad first = QuadAt(vertices, 1), third = QuadAt(vertices, 3);
    EXPECT_FLOAT_EQ(first.x0, 44.0f);  // a 12-pixel row centred in 100
    EXPECT_FLOAT_EQ(first.x1 - first.x0, 12.0f);
    EXPECT_FLOAT_EQ(first.y1 - first.y0, 28.0f);
    EXPECT_FLOAT_EQ(third.y0, 31.0f);
    EXPECT_EQ(vertices[6].color, 0xFFFF0000u);
}

TEST_F(OverlayTest, ALabelGrowsToItsTextAndAMissingFontDrawsNothing) {
    TextLabel* label = overlay.AddWindow<TextLabel>(OverlayWindow::Box{200, 300, 100, 74}, overlay.FindFont("64font"),
                                                    TextElement::Attributes{.size = 64}, "11");
    int width = 0, height = 0;
    label->GetSize(width, height);
    EXPECT_EQ(width, 100);
    label->SetText("23:59:59 ");
    label->RefreshLayout();
    label->GetSize(width, height);
    EXPECT_EQ(width, label->Text().TextWidth());
    EXPECT_GT(width, 100);
    EXPECT_EQ(height, 74);

    TextLabel lost(OverlayWindow::Box{0, 0, 10, 10}, nullptr, {}, "12");
    EXPECT_TRUE(lost.Text().Vertices().empty());
}

TEST_F(OverlayTest, EachLabelIsOneDrawFromTheDynamicBufferAndTheStatesAreLeftAsFound) {
    overlay.AddWindow<TextLabel>(OverlayWindow::Box{10, 10, 256, 128}, overlay.FindFont("Sylfaen"),
                                 TextElement::Attributes{}, "100");
    overlay.AddWindow<TextLabel>(OverlayWindow::Box{200, 300, 290, 74}, overlay.FindFont("64font"),
                                 TextElement::Attributes{.size = 64}, "12:34:56 ");
    overlay.AddWindow<TextLabel>(OverlayWindow::Box{0, 0, 10, 10}, nullptr, TextElement::Attributes{}, "no font");
    DeviceStateCache& cache = DeviceStateCache::Get();
    // What the scene left: depth on, no blending, culling, lighting.
    cache.setRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    cache.setRenderState(D3DRS_ALPHABLENDENABLE, 0);
    cache.setRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    cache.setRenderState(D3DRS_LIGHTING, 1);
    cache.setSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    for (int frame = 0; frame < 2; ++frame) {
        device.ClearCalls();
        overlay.Draw(device, 1024, 768);
        EXPECT_EQ(device.CountCalls("DrawPrimitive"), 2u);
        EXPECT_EQ(overlay.LastDrawCalls(), 2u);
        EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), frame == 0 ? 1u : 0u);
    }
    uint32_t value = 0;
    cache.getRenderState(D3DRS_ZENABLE, value);
    EXPECT_EQ(value, uint32_t{D3DZB_TRUE});
    cache.getRenderState(D3DRS_ALPHABLENDENABLE, value);
    EXPECT_EQ(value, 0u);
    cache.getRenderState(D3DRS_CULLMODE, value);
    EXPECT_EQ(value, uint32_t{D3DCULL_CCW});
    cache.getRenderState(D3DRS_LIGHTING, value);
    EXPECT_EQ(value, 1u);
    cache.getSamplerState(0, D3DSAMP_MIPFILTER, value);
    EXPECT_EQ(value, uint32_t{D3DTEXF_LINEAR});
    // From the second frame on every state is known to the cache: nothing is read back.
    EXPECT_EQ(device.CountCalls("GetRenderState"), 0u);

    // A lost device takes the buffer with it; the next frame makes a new one.
    overlay.OnDeviceLost();
    device.ClearCalls();
    overlay.Draw(device, 1024, 768);
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), 1u);
}

// A device that remembers how each draw's vertex buffer was last written and what the draw's
// first vertex holds.
class BufferWatchingDevice : public RecordingDevice {
public:
    struct WatchedBuffer : VertexBuffer {
        using VertexBuffer::VertexBuffer;
        void RangeChanged(uint32_t offset, uint32_t, uint32_t flags) override { lastOffset = offset, lastFlags = flags; }
        uint32_t lastOffset = 0, lastFlags = 0;
    };
    struct Draw {
        uint32_t startVertex, writtenAt, flags;
        float firstX;
    };
    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               Ref<VertexBuffer>& out) override {
        out = MakeRef<WatchedBuffer>(length, usage, fvf, pool);
        return D3D_OK;
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override {
        const auto* buffer = static_cast<const WatchedBuffer*>(Stream0().buffer.get());
        OverlayVertex first{};
        std::memcpy(&first, buffer->Bytes() + static_cast<size_t>(startVertex) * sizeof first, sizeof first);
        draws.push_back({startVertex, buffer->lastOffset, buffer->lastFlags, first.x});
        return RecordingDevice::DrawPrimitive(type, startVertex, primitiveCount);
    }
    std::vector<Draw> draws;
};

TEST(QuadBatch, FramesFollowEachOtherInTheBufferUntilItIsFullThenItIsDiscarded) {
    BufferWatchingDevice device;
    PublishedDevice published(device);
    QuadBatch batch;
    constexpr uint32_t kQuads = 50, kVertices = kQuads * 6;
    constexpr uint32_t kFramesPerBuffer = QuadBatch::kBufferVertices / kVertices;
    std::vector<OverlayVertex> quads(kVertices);
    for (uint32_t frame = 0; frame < 2 * kFramesPerBuffer + 1; ++frame) {
        for (uint32_t q = 0; q < kQuads; ++q)
            WriteQuad(&quads[q * 6], static_cast<float>(frame), 0, static_cast<float>(frame + 1), 1, 0, 0, 1, 1, 0xFFFFFFFF);
        batch.Begin();
        batch.Add(nullptr, quads, 0, 0);
        batch.Flush(device);
    }
    ASSERT_EQ(device.draws.size(), 2 * kFramesPerBuffer + 1);
    for (uint32_t frame = 0; frame < device.draws.size(); ++frame) {
        const auto& draw = device.draws[frame];
        const uint32_t slot = frame % kFramesPerBuffer;
        EXPECT_EQ(draw.startVertex, slot * kVertices) << frame;
        EXPECT_EQ(draw.writtenAt, slot * kVertices * sizeof(OverlayVertex)) << frame;
        // Only a frame that finds the buffer full discards it; the first frame finds it new.
        EXPECT_EQ(draw.flags, slot == 0 && frame > 0 ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE) << frame;
        EXPECT_FLOAT_EQ(draw.firstX, static_cast<float>(frame) - 0.5f) << frame;  // this frame's vertices
    }
}

TEST_F(OverlayTest, TextLaidOutBeforeADeviceLossDrawsWithTheTextureMadeAgain) {
    TextElement text;
    text.SetFont(overlay.FindFont("64font"));
    text.SetAttributes({.size = 64});
    text.SetText("12");
    text.Layout(300);
    const ::Texture* glyphs = ClockCharset().texture;
    ASSERT_NE(glyphs->D3DTexture(), nullptr);
    manager.InvalidateAll();
    ASSERT_TRUE(manager.RestoreAll());
    ASSERT_NE(glyphs->D3DTexture(), nullptr);
    QuadBatch batch;
    batch.Begin();
    text.Draw(batch, 0, 0);
    device.ClearCalls();
    batch.Flush(device);  // the sanitizers catch a released texture handed to the device here
    EXPECT_EQ(std::count(device.Calls().begin(), device.Calls().end(), "SetTexture(0, ptr)"), 1);
}

TEST_F(OverlayTest, AnImageIsOneQuadOfItsPictureAtTheGivenOrItsOwnSize) {
    WritePicture("logo.png", 32, 16);
    UdfTextNode node;
    auto source = std::make_unique<UdfTextNode>();
    source->SetValue("logo.png");
    node.AddChild("Src", std::move(source));
    auto* window = overlay.AddWindow<OverlayWindow>(OverlayWindow::Box{5, 6, 100, 100});
    ImageElement& image = window->AddImage();
    ASSERT_TRUE(image.Load(node, media, manager));
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Height(), 16);
    ImageElement& sized = window->AddImage();
    ASSERT_TRUE(sized.Load("logo.png", 64, 8, media, manager));
    EXPECT_EQ(sized.Width(), 64);
    EXPECT_FALSE(window->AddImage().Load("missing.png", 0, 0, media, manager));
    EXPECT_FALSE(window->AddImage().Load(UdfTextNode(), media, manager));

    device.ClearCalls();
    overlay.Draw(device, 640, 480);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1u);  // both pictures share their texture
    const std::string draw = "DrawPrimitive(4, 0, 4)";
    EXPECT_NE(std::find(device.Calls().begin(), device.Calls().end(), draw), device.Calls().end());
}

TEST_F(OverlayTest, PointerEventsGoToTheTopmostWindowUnderThePointer) {
    struct Listening : OverlayWindow {
        using OverlayWindow::OverlayWindow;
        void OnInput(const PointerEvent&) override { ++events; }
        int events = 0;
    };
    auto* below = overlay.AddWindow<Listening>(OverlayWindow::Box{0, 0, 100, 100});
    auto* above = overlay.AddWindow<Listening>(OverlayWindow::Box{10, 10, 20, 20}, OverlayWindow::Anchor::kBottomRight);
    overlay.Draw(device, 200, 100);  // the screen's size places the anchored window at (170, 70)
    overlay.OnPointerEvent({6, 175, 75});
    overlay.OnPointerEvent({6, 50, 50});
    overlay.OnPointerEvent({6, 500, 500});  // outside every window
    EXPECT_EQ(above->events, 1);
    EXPECT_EQ(below->events, 1);
}

}  // namespace
