// The device keeps what it sent to OpenGL between draws and frames. These cases change things
// behind that memory: resources released and made again (OpenGL reuses their names), textures
// filled while bound, passes of the frame target, a device reset, more constant changes in one
// frame than the constant ring holds, programs that take turns.

#include <vector>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

TEST_F(GlDeviceTest, TexturesMadeAfterOthersWereReleasedShowThemselves) {
    Begin(0xFF000000);
    Ref<Texture> red = MakeTexture(1, 1, {0xFFFF0000});
    device_->SetTexture(0, red.get());
    DrawQuad(0, 0, 32, kSize, kWhite);
    device_->SetTexture(0, nullptr);
    red.Reset();
    const Ref<Texture> green = MakeTexture(1, 1, {0xFF00FF00});  // drivers may give it red's old name
    device_->SetTexture(0, green.get());
    DrawQuad(32, 0, kSize, kSize, kWhite);
    Finish("texture_name_reused");
    ExpectPixel(16, 32, {255, 0, 0});
    ExpectPixel(48, 32, {0, 255, 0});
}

TEST_F(GlDeviceTest, TexturesFilledWhileBoundStayBound) {
    Begin(0xFF000000);
    const Ref<Texture> first = MakeTexture(1, 1, {0xFFFF0000});
    const Ref<Texture> blue = MakeTexture(1, 1, {0xFF0000FF});
    const Ref<Texture> darkBlue = MakeTexture(1, 1, {0xFF000040});
    device_->SetTexture(0, first.get());
    device_->SetTexture(1, blue.get());
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    device_->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device_->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TEXTURE);
    DrawQuad(0, 0, 20, kSize, kWhite);
    device_->SetTexture(1, darkBlue.get());  // the last unit bound is now stage 1's
    DrawQuad(20, 0, 40, kSize, kWhite);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(first->LockRect(0, locked, nullptr, 0), D3D_OK);
    *static_cast<uint32_t*>(locked.pBits) = 0xFF008000;
    ASSERT_EQ(first->UnlockRect(0), D3D_OK);
    DrawQuad(40, 0, kSize, kSize, kWhite);
    Finish("texture_filled_while_bound");
    ExpectPixel(10, 32, {255, 0, 255});
    ExpectPixel(30, 32, {255, 0, 64});
    ExpectPixel(50, 32, {0, 128, 64});
}

TEST_F(GlDeviceTest, VertexBuffersMadeAfterOthersWereReleasedAreDrawnFrom) {
    const auto quad = [&](float x0, float x1, D3DCOLOR color) {
        Ref<VertexBuffer> buffer;
        EXPECT_EQ(device_->CreateVertexBuffer(6 * sizeof(gfx::testing::ScreenVertex), 0, gfx::testing::kScreenFvf,
                                              D3DPOOL_MANAGED, buffer),
                  D3D_OK);
        const gfx::testing::ScreenVertex v[6] = {{x0, 0, 0.1f, 1, color, 0, 0},     {x1, 0, 0.1f, 1, color, 0, 0},
                                                 {x1, kSize, 0.1f, 1, color, 0, 0}, {x0, 0, 0.1f, 1, color, 0, 0},
                                                 {x1, kSize, 0.1f, 1, color, 0, 0}, {x0, kSize, 0.1f, 1, color, 0, 0}};
        void* bytes = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &bytes, 0), D3D_OK);
        std::copy(std::begin(v), std::end(v), static_cast<gfx::testing::ScreenVertex*>(bytes));
        EXPECT_EQ(buffer->Unlock(), D3D_OK);
        return buffer;
    };
    Begin(0xFF000000);
    device_->SetFVF(gfx::testing::kScreenFvf);
    Ref<VertexBuffer> left = quad(0, 32, 0xFFFF0000);
    device_->SetStreamSource(0, left.get(), 0, sizeof(gfx::testing::ScreenVertex));
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    device_->SetStreamSource(0, nullptr, 0, 0);
    left.Reset();
    const Ref<VertexBuffer> right = quad(32, kSize, 0xFF0000FF);  // drivers may give it the left one's name
    device_->SetStreamSource(0, right.get(), 0, sizeof(gfx::testing::ScreenVertex));
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    Finish("vertex_buffer_name_reused");
    ExpectPixel(16, 32, {255, 0, 0});
    ExpectPixel(48, 32, {0, 0, 255});
}

// A dynamic buffer filled range after range without waiting, then discarded when full, drawn
// in turn with vertices from memory: every draw reads what was written for it, frame after frame.
TEST_F(GlDeviceTest, DynamicBufferRangesWrittenAfterEachOtherAndDiscardedAreDrawnFrom) {
    using gfx::testing::ScreenVertex;
    constexpr uint32_t kSlots = 4;
    Ref<VertexBuffer> buffer;
    ASSERT_EQ(device_->CreateVertexBuffer(kSlots * 6 * sizeof(ScreenVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                          gfx::testing::kScreenFvf, D3DPOOL_DEFAULT, buffer),
              D3D_OK);
    const D3DCOLOR colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
    uint32_t used = 0;
    for (uint32_t frame = 0; frame < 10; ++frame) {
        Begin(0xFF000000);
        device_->SetFVF(gfx::testing::kScreenFvf);
        for (uint32_t half = 0; half < 2; ++half) {
            const float x0 = half * 32.0f, x1 = x0 + 32.0f;
            const D3DCOLOR color = colors[(frame * 2 + half) % std::size(colors)];
            const ScreenVertex v[6] = {{x0, 0, 0.1f, 1, color, 0, 0},     {x1, 0, 0.1f, 1, color, 0, 0},
                                       {x1, kSize, 0.1f, 1, color, 0, 0}, {x0, 0, 0.1f, 1, color, 0, 0},
                                       {x1, kSize, 0.1f, 1, color, 0, 0}, {x0, kSize, 0.1f, 1, color, 0, 0}};
            const uint32_t flags = used == kSlots ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE;
            if (used == kSlots) used = 0;
            void* bytes = nullptr;
            ASSERT_EQ(buffer->Lock(used * sizeof v, sizeof v, &bytes, flags), D3D_OK);
            std::copy(std::begin(v), std::end(v), static_cast<ScreenVertex*>(bytes));
            ASSERT_EQ(buffer->Unlock(), D3D_OK);
            device_->SetStreamSource(0, buffer.get(), 0, sizeof(ScreenVertex));
            ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, used * 6, 2), D3D_OK);
            ++used;
            DrawQuad(x0 + 8, 8, x0 + 16, 16, 0xFF808080);  // from memory, between the buffer's draws
        }
        Finish("dynamic_buffer_ranges");
        for (uint32_t half = 0; half < 2; ++half) {
            const D3DCOLOR color = colors[(frame * 2 + half) % std::size(colors)];
            ExpectPixel(half * 32 + 24, 40,
                        {static_cast<int>((color >> 16) & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>(color & 0xFF)});
            ExpectPixel(half * 32 + 12, 12, {128, 128, 128});
        }
    }
}

TEST_F(GlDeviceTest, StatesOutliveFramesAndTheGammaPass) {
    const Ref<Texture> first = MakeTexture(1, 1, {0xFF804000});
    const Ref<Texture> second = MakeTexture(1, 1, {0xFF000080});
    for (int frame = 0; frame < 3; ++frame) {
        Begin(0xFF000000);
        if (frame == 0) {
            device_->SetTexture(0, first.get());
            device_->SetTexture(1, second.get());
            device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
            device_->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
            device_->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TEXTURE);
            device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
            device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
            device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        }
        DrawQuad(0, 0, kSize, kSize, kWhite);
        DrawQuad(0, 0, 32, kSize, kWhite);  // added twice on the left half
        if (frame < 2) {
            ASSERT_EQ(device_->EndScene(), D3D_OK);
            ASSERT_EQ(device_->Present(), D3D_OK);
        }
    }
    Finish("states_outlive_frames");
    ExpectPixel(48, 32, {128, 64, 128});
    ExpectPixel(16, 32, {255, 128, 255});
}

TEST_F(GlDeviceTest, ClearsAfterWriteMasksAndResetsClearEverything) {
    Begin(0xFF000000);
    device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    DrawQuad(0, 0, kSize, kSize, kWhite);  // writes nothing
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFF0000, 1.0f, 0), D3D_OK);
    Finish("clear_after_masks");
    ExpectPixel(32, 32, {255, 0, 0});

    D3DPRESENT_PARAMETERS pp = PresentParameters();
    ASSERT_EQ(device_->Reset(pp), D3D_OK);
    Begin(0x00000000);  // GL's own initial clear colour, which the red clear replaced
    Finish("clear_after_reset");
    ExpectPixel(32, 32, {0, 0, 0});
}

TEST_F(GlDeviceTest, ConstantChangesBeyondTheRingKeepTheirOrder) {
    Begin(0xFF000000);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    auto factor = [](int pass, int column) {
        return D3DCOLOR_ARGB(255, column * 4, pass * 60, 255 - column * 4);
    };
    for (int pass = 0; pass < 4; ++pass) {  // 256 changes in one frame
        for (int column = 0; column < static_cast<int>(kSize); ++column) {
            device_->SetRenderState(D3DRS_TEXTUREFACTOR, factor(pass, column));
            DrawQuad(static_cast<float>(column), 0, static_cast<float>(column + 1), kSize, kWhite);
        }
    }
    Finish("constant_ring");
    for (const int column : {0, 1, 31, 62, 63}) ExpectPixel(column, 20, {column * 4, 180, 255 - column * 4});
}

// Transformed quads, unlit, covering the x range [x0, x1] of clip space after the world moves them.
struct ClipVertex {
    float x, y, z;
    D3DCOLOR diffuse;
};

TEST_F(GlDeviceTest, ProgramsTakingTurnsGetTheObjectsMatrices) {
    Begin(0xFF000000);
    const auto draw = [&](float shift, bool coloured) {
        const math::Mat4 world = math::Translation(shift, 0, 0);
        device_->SetTransform(D3DTS_WORLD, &world);
        const ClipVertex v[6] = {{-0.5f, -1, 0.5f, 0xFF00FF00}, {0, -1, 0.5f, 0xFF00FF00}, {0, 1, 0.5f, 0xFF00FF00},
                                 {-0.5f, -1, 0.5f, 0xFF00FF00}, {0, 1, 0.5f, 0xFF00FF00}, {-0.5f, 1, 0.5f, 0xFF00FF00}};
        device_->SetFVF(coloured ? D3DFVF_XYZ | D3DFVF_DIFFUSE : D3DFVF_XYZ);
        if (coloured) {
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ClipVertex)), D3D_OK);
        } else {
            std::vector<float> positions;
            for (const ClipVertex& p : v) positions.insert(positions.end(), {p.x, p.y, p.z});
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, positions.data(), 3 * sizeof(float)), D3D_OK);
        }
    };
    draw(-0.5f, true);   // x -1 .. -0.5: green
    draw(-0.5f, false);  // the same place through another program: white over it
    draw(1.0f, true);    // x 0.5 .. 1: green
    Finish("programs_take_turns");
    ExpectPixel(8, 32, {255, 255, 255});
    ExpectPixel(32, 32, {0, 0, 0});
    ExpectPixel(56, 32, {0, 255, 0});
}

}  // namespace
