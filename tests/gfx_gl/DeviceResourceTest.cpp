// What any device must do with the engine's resources, whichever API is under it: every texture
// format the loader hands over shows its texels, index buffers of both widths draw, and a reset
// to another size gives the new back buffer and Direct3D's default states while managed
// resources stay usable.

#include <cstring>
#include <vector>

#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;
using gfx::testing::Rgb;
using gfx::testing::ScreenVertex;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class DeviceResourceTest : public GlDeviceTest {
protected:
    // Draws `texture` over the whole frame, texel by texel, and reads it back.
    void DrawTexture(Texture* texture, const char* name) {
        Begin(0xFF000000);
        device_->SetTexture(0, texture);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        DrawQuad(0, 0, kSize, kSize, kWhite);
        Finish(name);
    }

    // A texture of `format` whose level 0 holds `bytes`, row after row.
    Ref<Texture> FilledTexture(uint32_t width, uint32_t height, D3DFORMAT format, D3DPOOL pool,
                               const std::vector<uint8_t>& bytes) {
        Ref<Texture> texture;
        EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, format, pool, texture), D3D_OK);
        if (!texture) return texture;
        const uint32_t block = LayoutOf(format).blockSize;
        const size_t rowBytes = bytes.size() / ((height + block - 1) / block);
        D3DLOCKED_RECT locked;
        EXPECT_EQ(texture->LockRect(0, locked, nullptr, 0), D3D_OK);
        for (size_t row = 0; row * rowBytes < bytes.size(); ++row) {
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + row * locked.Pitch, bytes.data() + row * rowBytes, rowBytes);
        }
        EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
        return texture;
    }

    // The four quadrants of the frame.
    void ExpectQuadrants(Rgb topLeft, Rgb topRight, Rgb bottomLeft, Rgb bottomRight) {
        ExpectPixel(16, 16, topLeft);
        ExpectPixel(48, 16, topRight);
        ExpectPixel(16, 48, bottomLeft);
        ExpectPixel(48, 48, bottomRight);
    }
};

std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

// One DXT colour block: red (565 0xF800) in its top two rows, blue (0x001F) in the bottom two.
std::vector<uint8_t> RedOverBlueBlock() { return {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x00, 0x55, 0x55}; }

TEST_F(DeviceResourceTest, EveryLoaderFormatShowsItsTexels) {
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    struct Case {
        const char* name;
        D3DFORMAT format;
        std::vector<uint8_t> texels;  // 2 x 2: red, green / blue, white
    };
    const Case cases[] = {
        {"format_a8r8g8b8", D3DFMT_A8R8G8B8, {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255}},
        {"format_x8r8g8b8", D3DFMT_X8R8G8B8, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}},
        {"format_r5g6b5", D3DFMT_R5G6B5, Words16({0xF800, 0x07E0, 0x001F, 0xFFFF})},
        {"format_x1r5g5b5", D3DFMT_X1R5G5B5, Words16({0x7C00, 0x03E0, 0x001F, 0x7FFF})},
        {"format_a1r5g5b5", D3DFMT_A1R5G5B5, Words16({0xFC00, 0x83E0, 0x801F, 0xFFFF})},
        {"format_a4r4g4b4", D3DFMT_A4R4G4B4, Words16({0xFF00, 0xF0F0, 0xF00F, 0xFFFF})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Ref<Texture> texture = FilledTexture(2, 2, c.format, D3DPOOL_MANAGED, c.texels);
        DrawTexture(texture.get(), c.name);
        ExpectQuadrants(red, green, blue, white);
    }

    std::vector<uint8_t> dxt1 = RedOverBlueBlock();
    std::vector<uint8_t> dxt3(8, 0xFF);  // explicit alpha, all opaque
    dxt3.insert(dxt3.end(), dxt1.begin(), dxt1.end());
    std::vector<uint8_t> dxt5 = {255, 0, 0, 0, 0, 0, 0, 0};  // alpha 255 everywhere
    dxt5.insert(dxt5.end(), dxt1.begin(), dxt1.end());
    for (const auto& [format, block] : {std::pair{D3DFMT_DXT1, dxt1}, {D3DFMT_DXT3, dxt3}, {D3DFMT_DXT5, dxt5}}) {
        SCOPED_TRACE(format);
        const Ref<Texture> texture = FilledTexture(4, 4, format, D3DPOOL_MANAGED, block);
        DrawTexture(texture.get(), "format_dxt");
        ExpectQuadrants(red, red, blue, blue);
    }
}

TEST_F(DeviceResourceTest, TexturesOfTheDefaultPoolAndPartialLocksReachTheDevice) {
    std::vector<uint8_t> grey(4 * 4 * 4, 0x80);
    const Ref<Texture> texture = FilledTexture(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, grey);
    ASSERT_TRUE(texture);
    const RECT topRight{2, 0, 4, 2};
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, locked, &topRight, 0), D3D_OK);
    for (int row = 0; row < 2; ++row) {
        auto* texels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + row * locked.Pitch);
        texels[0] = texels[1] = 0xFF00FF00;
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    DrawTexture(texture.get(), "default_pool_partial_lock");
    ExpectQuadrants({128, 128, 128}, {0, 255, 0}, {128, 128, 128}, {128, 128, 128});
}

TEST_F(DeviceResourceTest, IndexBuffersOfBothWidthsDrawFromABaseVertex) {
    // Two quads in one vertex buffer; each index buffer names the second one's corners from 0.
    const auto quad = [](float x0, float x1, D3DCOLOR color) {
        return std::vector<ScreenVertex>{{x0, 0, 0.1f, 1, color, 0, 0},
                                         {x1, 0, 0.1f, 1, color, 0, 0},
                                         {x1, kSize, 0.1f, 1, color, 0, 0},
                                         {x0, kSize, 0.1f, 1, color, 0, 0}};
    };
    std::vector<ScreenVertex> vertices = quad(0, 32, 0xFFFF0000);
    const std::vector<ScreenVertex> right = quad(32, kSize, 0xFF0000FF);
    vertices.insert(vertices.end(), right.begin(), right.end());
    Ref<VertexBuffer> vb;
    ASSERT_EQ(device_->CreateVertexBuffer(static_cast<uint32_t>(vertices.size() * sizeof(ScreenVertex)),
                                          D3DUSAGE_WRITEONLY, gfx::testing::kScreenFvf, D3DPOOL_MANAGED, vb),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(ScreenVertex));
    ASSERT_EQ(vb->Unlock(), D3D_OK);

    const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
    for (const D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        SCOPED_TRACE(format);
        const uint32_t width = format == D3DFMT_INDEX16 ? 2 : 4;
        Ref<IndexBuffer> ib;
        ASSERT_EQ(device_->CreateIndexBuffer(6 * width, D3DUSAGE_WRITEONLY, format, D3DPOOL_MANAGED, ib), D3D_OK);
        ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
        for (int i = 0; i < 6; ++i) {
            if (width == 2) static_cast<uint16_t*>(data)[i] = static_cast<uint16_t>(indices[i]);
            else static_cast<uint32_t*>(data)[i] = indices[i];
        }
        ASSERT_EQ(ib->Unlock(), D3D_OK);
        Begin(0xFF000000);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        device_->SetFVF(gfx::testing::kScreenFvf);
        device_->SetStreamSource(0, vb.get(), 0, sizeof(ScreenVertex));
        device_->SetIndices(ib.get());
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
        device_->SetIndices(nullptr);
        device_->SetStreamSource(0, nullptr, 0, 0);
        Finish("index_buffer");
        ExpectQuadrants({0, 0, 0}, {0, 0, 255}, {0, 0, 0}, {0, 0, 255});
    }
}

TEST_F(DeviceResourceTest, ResetToAnotherSizeRestoresDefaultsAndKeepsManagedTextures) {
    const Ref<Texture> green = MakeTexture(1, 1, {0xFF00FF00});
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF102030);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetTexture(0, green.get());

    D3DPRESENT_PARAMETERS pp = HiddenWindowParameters(kSize / 2, kSize / 2);
    ASSERT_EQ(device_->Reset(pp), D3D_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(device_->GetBackBufferDesc(desc), D3D_OK);
    EXPECT_EQ(desc.Width, kSize / 2);
    EXPECT_EQ(desc.Height, kSize / 2);
    uint32_t value = 0;
    EXPECT_EQ(device_->GetRenderState(D3DRS_TEXTUREFACTOR, &value), D3D_OK);
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_EQ(device_->GetRenderState(D3DRS_CULLMODE, &value), D3D_OK);
    EXPECT_EQ(value, D3DCULL_CCW);
    Texture* bound = nullptr;
    EXPECT_EQ(device_->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);

    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    device_->SetRenderState(D3DRS_LIGHTING, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetTexture(0, green.get());
    DrawQuad(0, 0, kSize / 2, kSize / 2, kWhite);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(device_->Present(), D3D_OK);
    uint32_t width = 0, height = 0;
    ASSERT_EQ(device_->GetFrontBufferData(0, frame_, width, height), D3D_OK);
    ASSERT_EQ(width, kSize / 2);
    ASSERT_EQ(height, kSize / 2);
    EXPECT_EQ(frame_[16 * width + 16] & 0xFFFFFF, 0x00FF00u);
}

}  // namespace
