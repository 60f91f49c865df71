// Textures made from image files on the recording device: sizes, levels, formats, filters, the
// colour key, image information, surface loads and the empty texture.

#include <gtest/gtest.h>

#include <cstring>

#include "gfx_loader/ImageFiles.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "platform/gfx/loader/TextureLoader.h"

namespace gfx {
namespace {

uint32_t Pixel32(const Texture& texture, uint32_t level, uint32_t x, uint32_t y) {
    uint32_t value;
    std::memcpy(&value, texture.LevelBits(level) + static_cast<size_t>(y) * texture.Pitch(level) + 4 * x, 4);
    return value;
}

uint16_t Pixel16(const Texture& texture, uint32_t level, uint32_t x, uint32_t y) {
    uint16_t value;
    std::memcpy(&value, texture.LevelBits(level) + static_cast<size_t>(y) * texture.Pitch(level) + 2 * x, 2);
    return value;
}

D3DSURFACE_DESC Desc(const Texture& texture, uint32_t level = 0) {
    D3DSURFACE_DESC desc;
    EXPECT_EQ(texture.GetLevelDesc(level, desc), D3D_OK);
    return desc;
}

class TextureLoaderTest : public ::testing::Test {
protected:
    HRESULT Load(const std::vector<uint8_t>& file, uint32_t width, uint32_t height, uint32_t levels, D3DFORMAT format,
                 uint32_t filter, uint32_t mipFilter, D3DCOLOR key, Ref<Texture>& out, D3DXIMAGE_INFO* info = nullptr) {
        return loader.CreateTextureFromFileInMemoryEx(file.data(), static_cast<uint32_t>(file.size()), width, height,
                                                      levels, 0, format, D3DPOOL_MANAGED, filter, mipFilter, key, info,
                                                      out);
    }

    RecordingDevice device;
    TextureLoader loader{device};
};

TEST_F(TextureLoaderTest, FileSizeFullChainAndImageInfo) {
    ArgbImage picture = testimages::Filled(8, 4, 0xFF000000);
    for (uint32_t x = 0; x < 8; x += 2) picture.Row(0)[x] = 0xFFFFFFFF;  // a quarter of the pixels white
    Ref<Texture> texture;
    D3DXIMAGE_INFO info;
    ASSERT_EQ(Load(EncodePng(picture, true), 0, 0, 0, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture, &info),
              D3D_OK);
    EXPECT_EQ(info.Width, 8u);
    EXPECT_EQ(info.Height, 4u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    ASSERT_EQ(texture->GetLevelCount(), 4u);  // 8x4, 4x2, 2x1, 1x1
    EXPECT_EQ(Desc(*texture).Width, 8u);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Desc(*texture, 3).Width, 1u);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0xFFFFFFFFu);
    // Box-filtered: 2x2 cells of one white and three black pixels, then the average of those.
    EXPECT_EQ(Pixel32(*texture, 1, 0, 0), 0xFF404040u);
    EXPECT_EQ(Pixel32(*texture, 3, 0, 0), 0xFF202020u);
}

TEST_F(TextureLoaderTest, RequestedSizeLevelsAndFilters) {
    ArgbImage stripes(4, 1);
    stripes.pixels = {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF};
    const std::vector<uint8_t> file = EncodeTga(stripes, 32, false);
    Ref<Texture> texture;
    ASSERT_EQ(Load(file, 2, 1, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0xFF808080u);
    ASSERT_EQ(Load(file, 2, 1, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_POINT, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel32(*texture, 0, 1, 0), 0xFFFFFFFFu);
    ASSERT_EQ(Load(file, 8, 1, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_NONE, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 0, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel32(*texture, 0, 6, 0), 0u);  // outside the image: transparent black
    // Growing with a linear filter interpolates.
    ASSERT_EQ(Load(file, 8, 1, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_LINEAR, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    const uint32_t between = Pixel32(*texture, 0, 1, 0) & 0xFF;
    EXPECT_GT(between, 0u);
    EXPECT_LT(between, 255u);
    // D3DX_DEFAULT filters are accepted; a value that is no filter is not.
    EXPECT_EQ(Load(file, 0, 0, 0, D3DFMT_UNKNOWN, D3DX_DEFAULT, D3DX_DEFAULT, 0, texture), D3D_OK);
    EXPECT_EQ(Load(file, 0, 0, 0, D3DFMT_UNKNOWN, 9, D3DX_DEFAULT, 0, texture), D3DERR_INVALIDCALL);
    EXPECT_FALSE(texture);
}

TEST_F(TextureLoaderTest, FormatsConvertAndFallBack) {
    const ArgbImage red = testimages::Filled(2, 2, 0x80FF0000);
    const std::vector<uint8_t> file = EncodePng(red, true);
    Ref<Texture> texture;
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_R5G6B5, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel16(*texture, 0, 1, 1), 0xF800);
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_A1R5G5B5, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel16(*texture, 0, 0, 0), 0xFC00);
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_A4R4G4B4, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel16(*texture, 0, 0, 0), 0x8F00);
    // The device has no 24-bit textures: the nearest it has is taken.
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_R8G8B8, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0xFFFF0000u);
    // A JPEG keeps no alpha.
    ASSERT_EQ(Load(EncodeJpeg(red, 90), 0, 0, 1, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_X8R8G8B8);
}

TEST_F(TextureLoaderTest, ColorKeyedPixelsBecomeTransparentBlack) {
    ArgbImage picture = testimages::Filled(4, 4, 0xFFFF00FF);
    picture.Row(1)[2] = 0xFF00FF00;
    Ref<Texture> texture;
    // An opaque file with a key gets a format with alpha.
    ASSERT_EQ(Load(EncodeBmp(picture), 0, 0, 1, D3DFMT_UNKNOWN, D3DX_FILTER_NONE, D3DX_FILTER_BOX, 0xFFFF00FF, texture),
              D3D_OK);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0u);
    EXPECT_EQ(Pixel32(*texture, 0, 2, 1), 0xFF00FF00u);
    // The key compares the whole word: without the alpha byte it matches nothing opaque.
    ASSERT_EQ(Load(EncodeBmp(picture), 0, 0, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_NONE, D3DX_FILTER_BOX, 0x00FF00FF, texture),
              D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 0), 0xFFFF00FFu);
}

TEST_F(TextureLoaderTest, DxtFilesKeepTheirBlocksOrAreDecoded) {
    const std::vector<uint8_t> block{0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
    const std::vector<uint8_t> file = testimages::Dds(4, 4, 1, D3DFMT_DXT1, 0, 0, 0, 0, 0, block);
    Ref<Texture> texture;
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_DXT1);
    EXPECT_EQ(std::vector<uint8_t>(texture->LevelBits(0), texture->LevelBits(0) + 8), block);
    // Asked for 32-bit pixels, the blocks are decoded.
    ASSERT_EQ(Load(file, 0, 0, 1, D3DFMT_A8R8G8B8, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 0, 0, 3), 0xFFFF0000u);
    EXPECT_EQ(Pixel32(*texture, 0, 1, 3), 0xFF0000FFu);
    // The full chain below a one-level file is built from decoded pixels and encoded again.
    ASSERT_EQ(Load(file, 0, 0, 0, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    // A picture encoded to DXT5 and read back stays close, alpha included.
    const ArgbImage translucent = testimages::Filled(8, 8, 0x80406080);
    ASSERT_EQ(Load(EncodePng(translucent, true), 0, 0, 1, D3DFMT_DXT5, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture),
              D3D_OK);
    std::vector<uint8_t> blocks(texture->LevelBits(0), texture->LevelBits(0) + 64);
    DecodedImage decoded;
    ASSERT_EQ(DecodeImage(testimages::Dds(8, 8, 1, D3DFMT_DXT5, 0, 0, 0, 0, 0, blocks), {}, decoded), D3D_OK);
    const uint32_t back = decoded.Argb(0).pixels[10];
    EXPECT_EQ(back >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>((back >> 8) & 0xFF), 0x60, 4);
}

TEST_F(TextureLoaderTest, DxtOneKeepsColourKeyedPixelsTransparent) {
    ArgbImage picture = testimages::Filled(4, 4, 0xFF2040C0);
    picture.Row(0)[0] = 0xFFFF00FF;
    Ref<Texture> texture;
    ASSERT_EQ(Load(EncodePng(picture, false), 0, 0, 1, D3DFMT_DXT1, D3DX_FILTER_NONE, D3DX_FILTER_BOX, 0xFFFF00FF,
                   texture),
              D3D_OK);
    std::vector<uint8_t> block(texture->LevelBits(0), texture->LevelBits(0) + 8);
    DecodedImage decoded;
    ASSERT_EQ(DecodeImage(testimages::Dds(4, 4, 1, D3DFMT_DXT1, 0, 0, 0, 0, 0, block), {}, decoded), D3D_OK);
    EXPECT_EQ(decoded.Argb(0).pixels[0], 0u);
    EXPECT_EQ(decoded.Argb(0).pixels[5] >> 24, 0xFFu);
}

TEST_F(TextureLoaderTest, StoredMipLevelsAreUsedWhenTheSizeIsKept) {
    const std::vector<ArgbImage> levels{testimages::Filled(2, 2, 0xFF111111), testimages::Filled(1, 1, 0xFF999999)};
    Ref<Texture> texture;
    ASSERT_EQ(Load(testimages::DdsArgb(levels), 0, 0, 0, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture),
              D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 1, 0, 0), 0xFF999999u);
    // Scaled, the chain is built again from the new top level.
    ASSERT_EQ(Load(testimages::DdsArgb(levels), 4, 4, 0, D3DFMT_UNKNOWN, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, texture),
              D3D_OK);
    EXPECT_EQ(Pixel32(*texture, 2, 0, 0), 0xFF111111u);
}

TEST_F(TextureLoaderTest, BadInputIsRefusedWithoutATexture) {
    Ref<Texture> texture;
    const std::vector<uint8_t> junk{1, 2, 3};
    EXPECT_EQ(Load(junk, 0, 0, 0, D3DFMT_UNKNOWN, D3DX_DEFAULT, D3DX_DEFAULT, 0, texture), D3DXERR_INVALIDDATA);
    EXPECT_FALSE(texture);
    const std::vector<uint8_t> small = EncodePng(testimages::Filled(2, 2, 0xFF000000), false);
    EXPECT_EQ(Load(small, 20000, 2, 1, D3DFMT_UNKNOWN, D3DX_DEFAULT, D3DX_DEFAULT, 0, texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(loader.CreateTextureFromFileEx("/nonexistent/picture.png", 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                             D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, texture),
              D3DERR_NOTFOUND);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 0u);
}

TEST_F(TextureLoaderTest, EmptyTexturesTakeTheLibraryDefaults) {
    Ref<Texture> texture;
    ASSERT_EQ(loader.CreateTexture(0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, texture), D3D_OK);
    EXPECT_EQ(Desc(*texture).Width, 256u);
    EXPECT_EQ(Desc(*texture).Format, D3DFMT_A8R8G8B8);
    ASSERT_EQ(loader.CreateTexture(64, 32, 0, D3DUSAGE_DYNAMIC, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 7u);
    EXPECT_EQ(Desc(*texture).Usage, D3DUSAGE_DYNAMIC);
    EXPECT_EQ(Desc(*texture).Pool, D3DPOOL_DEFAULT);
}

TEST_F(TextureLoaderTest, SurfaceLoadsFillOnlyTheirRectangle) {
    Ref<Texture> texture;
    ASSERT_EQ(loader.CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
    const std::vector<uint8_t> file = EncodeTga(testimages::Filled(2, 2, 0xFF00FF00), 24, false);
    const RECT rect{4, 2, 8, 6};
    D3DXIMAGE_INFO info;
    ASSERT_EQ(loader.LoadSurfaceFromFileInMemory(*texture, 0, &rect, file.data(), static_cast<uint32_t>(file.size()),
                                                 D3DX_FILTER_POINT, 0, &info),
              D3D_OK);
    EXPECT_EQ(info.Width, 2u);
    EXPECT_EQ(Pixel32(*texture, 0, 4, 2), 0xFF00FF00u);
    EXPECT_EQ(Pixel32(*texture, 0, 7, 5), 0xFF00FF00u);
    EXPECT_EQ(Pixel32(*texture, 0, 3, 2), 0u);
    EXPECT_EQ(Pixel32(*texture, 0, 4, 6), 0u);
    const RECT outside{6, 6, 10, 10};
    EXPECT_EQ(loader.LoadSurfaceFromFileInMemory(*texture, 0, &outside, file.data(),
                                                 static_cast<uint32_t>(file.size()), D3DX_FILTER_POINT, 0, nullptr),
              D3DERR_INVALIDCALL);
}

}  // namespace
}  // namespace gfx
