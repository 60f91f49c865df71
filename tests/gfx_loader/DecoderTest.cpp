// Every image format decoded from a small file made here, and damaged or oversized files refused.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>

#include "gfx_loader/ImageFiles.h"
#include "platform/gfx/loader/Image.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace gfx {
namespace {

using testimages::Gradient;

HRESULT Decode(const std::vector<uint8_t>& file, DecodedImage& out, ImageLimits limits = {}) {
    return DecodeImage({file.data(), file.size()}, limits, out);
}

void ExpectNear(const ArgbImage& actual, const ArgbImage& expected, int tolerance) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = static_cast<int>((actual.pixels[i] >> shift) & 0xFF);
            const int e = static_cast<int>((expected.pixels[i] >> shift) & 0xFF);
            ASSERT_LE(std::abs(a - e), tolerance) << "pixel " << i << " channel shift " << shift;
        }
    }
}

TEST(ImageDecoder, LosslessFormatsGiveThePixelsBack) {
    const ArgbImage opaque = Gradient(7, 5);
    ArgbImage translucent = Gradient(7, 5, 0x80);
    translucent.pixels[3] = 0x00123456;
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        const ArgbImage& expected;
        D3DXIMAGE_FILEFORMAT type;
        D3DFORMAT format;
    };
    const Case cases[] = {
        {"png rgba", EncodePng(translucent, true), translucent, D3DXIFF_PNG, D3DFMT_A8R8G8B8},
        {"png rgb", EncodePng(opaque, false), opaque, D3DXIFF_PNG, D3DFMT_X8R8G8B8},
        {"tga 32", EncodeTga(translucent, 32, false), translucent, D3DXIFF_TGA, D3DFMT_A8R8G8B8},
        {"tga 24 rle", EncodeTga(opaque, 24, true), opaque, D3DXIFF_TGA, D3DFMT_R8G8B8},
        {"tga 32 rle", EncodeTga(translucent, 32, true), translucent, D3DXIFF_TGA, D3DFMT_A8R8G8B8},
        {"bmp", EncodeBmp(opaque), opaque, D3DXIFF_BMP, D3DFMT_R8G8B8},
        {"gif", testimages::Gif(opaque), opaque, D3DXIFF_GIF, D3DFMT_P8},
        {"dds argb", testimages::DdsArgb({translucent}), translucent, D3DXIFF_DDS, D3DFMT_A8R8G8B8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedImage image;
        ASSERT_EQ(Decode(c.file, image), D3D_OK);
        EXPECT_EQ(image.info.Width, 7u);
        EXPECT_EQ(image.info.Height, 5u);
        EXPECT_EQ(image.info.MipLevels, 1u);
        EXPECT_EQ(image.info.ImageFileFormat, c.type);
        EXPECT_EQ(image.info.Format, c.format);
        EXPECT_EQ(image.Argb(0).pixels, c.expected.pixels);
    }
}

TEST(ImageDecoder, JpegIsCloseToTheOriginal) {
    const ArgbImage flat = testimages::Filled(16, 16, 0xFF4080C0);
    DecodedImage image;
    ASSERT_EQ(Decode(EncodeJpeg(flat, 95), image), D3D_OK);
    EXPECT_EQ(image.info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(image.info.Format, D3DFMT_X8R8G8B8);
    ExpectNear(image.Argb(0), flat, 3);
}

TEST(ImageDecoder, GifTransparentIndexGivesTransparentPixels) {
    ArgbImage picture = testimages::Filled(4, 2, 0xFF00FF00);
    picture.pixels[0] = 0xFFFF0000;
    DecodedImage image;
    ASSERT_EQ(Decode(testimages::Gif(picture, 1), image), D3D_OK);  // index 1 is the green
    EXPECT_EQ(image.Argb(0).pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image.Argb(0).pixels[1] >> 24, 0u);
}

TEST(ImageDecoder, DdsMaskedFormatsAndLevels) {
    // R5G6B5: pure red, pure green, pure blue, white.
    const std::vector<uint8_t> rgb565{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    DecodedImage image;
    ASSERT_EQ(Decode(testimages::Dds(4, 1, 1, 0, 16, 0xF800, 0x7E0, 0x1F, 0, rgb565), image), D3D_OK);
    EXPECT_EQ(image.info.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(image.Argb(0).pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));

    // A1R5G5B5 with and without the alpha bit.
    const std::vector<uint8_t> argb1555{0x00, 0xFC, 0x1F, 0x00};
    ASSERT_EQ(Decode(testimages::Dds(2, 1, 1, 0, 16, 0x7C00, 0x3E0, 0x1F, 0x8000, argb1555), image), D3D_OK);
    EXPECT_EQ(image.info.Format, D3DFMT_A1R5G5B5);
    EXPECT_EQ(image.Argb(0).pixels, (std::vector<uint32_t>{0xFFFF0000, 0x000000FF}));

    // Three stored levels.
    const std::vector<ArgbImage> levels{Gradient(4, 4), Gradient(2, 2, 0x40), Gradient(1, 1, 0x20)};
    ASSERT_EQ(Decode(testimages::DdsArgb(levels), image), D3D_OK);
    ASSERT_EQ(image.info.MipLevels, 3u);
    for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(image.Argb(i).pixels, levels[i].pixels);
}

TEST(ImageDecoder, DxtBlocksDecode) {
    // DXT1, four-colour mode: c0 red, c1 blue, indices 0,1,2,3 across each row.
    const std::vector<uint8_t> dxt1{0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
    DecodedImage image;
    ASSERT_EQ(Decode(testimages::Dds(4, 4, 1, D3DFMT_DXT1, 0, 0, 0, 0, 0, dxt1), image), D3D_OK);
    EXPECT_EQ(image.blockFormat, D3DFMT_DXT1);
    const uint32_t* row = image.Argb(0).Row(2);
    EXPECT_EQ(row[0], 0xFFFF0000u);
    EXPECT_EQ(row[1], 0xFF0000FFu);
    EXPECT_EQ(row[2], 0xFFAA0055u);
    EXPECT_EQ(row[3], 0xFF5500AAu);

    // DXT1, three-colour mode (c0 <= c1): index 3 is transparent black.
    const std::vector<uint8_t> dxt1Alpha{0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(Decode(testimages::Dds(4, 4, 1, D3DFMT_DXT1, 0, 0, 0, 0, 0, dxt1Alpha), image), D3D_OK);
    EXPECT_EQ(image.Argb(0).pixels[5], 0u);

    // DXT3: explicit alpha 0x8 on every pixel over a white colour block.
    std::vector<uint8_t> dxt3(8, 0x88);
    dxt3.insert(dxt3.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    ASSERT_EQ(Decode(testimages::Dds(4, 4, 1, D3DFMT_DXT3, 0, 0, 0, 0, 0, dxt3), image), D3D_OK);
    EXPECT_EQ(image.Argb(0).pixels[7], 0x88FFFFFFu);

    // DXT5: alpha endpoints 255 and 0, every index 1 (the second endpoint).
    std::vector<uint8_t> dxt5{0xFF, 0x00, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24};
    dxt5.insert(dxt5.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    ASSERT_EQ(Decode(testimages::Dds(4, 4, 1, D3DFMT_DXT5, 0, 0, 0, 0, 0, dxt5), image), D3D_OK);
    EXPECT_EQ(image.Argb(0).pixels[9], 0x00FFFFFFu);
}

TEST(ImageDecoder, Dxt1FilesCarryEveryMipLevelDownToOnePixel) {
    for (const auto [width, height, levels] : {std::array<uint32_t, 3>{8, 4, 4}, {6, 3, 3}, {1, 1, 1}}) {
        const ArgbImage picture = testimages::Filled(width, height, 0xFF336699);
        DecodedImage image;
        ASSERT_EQ(Decode(EncodeDxt1Dds(picture), image), D3D_OK) << width << "x" << height;
        EXPECT_EQ(image.blockFormat, D3DFMT_DXT1);
        ASSERT_EQ(image.LevelCount(), levels);
        for (uint32_t level = 0; level < levels; ++level) {
            const ArgbImage& pixels = image.Argb(level);
            ExpectNear(pixels, testimages::Filled(std::max(1u, width >> level), std::max(1u, height >> level), 0xFF336699), 4);
        }
    }
}

TEST(ImageDecoder, DamagedFilesAreRefused) {
    const ArgbImage picture = Gradient(40, 30);
    const std::vector<std::vector<uint8_t>> whole{
        EncodePng(picture, true),          EncodeJpeg(picture, 90),
        EncodeTga(picture, 32, false),     EncodeTga(picture, 24, true),
        EncodeBmp(picture),                testimages::Gif(picture),
        testimages::DdsArgb({picture}),
    };
    for (const std::vector<uint8_t>& file : whole) {
        SCOPED_TRACE(file.size());
        DecodedImage image;
        ASSERT_EQ(Decode(file, image), D3D_OK);
        for (size_t keep : {file.size() * 3 / 4, file.size() / 2, size_t{20}, size_t{3}, size_t{0}}) {
            const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(keep));
            EXPECT_EQ(Decode(cut, image), D3DXERR_INVALIDDATA) << "kept " << keep;
        }
    }
    DecodedImage image;
    EXPECT_EQ(Decode({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e', 0, 0, 0, 0, 0, 0, 0, 0}, image),
              D3DXERR_INVALIDDATA);
}

TEST(ImageDecoder, DdsDeclaringMoreThanItHoldsIsRefused) {
    DecodedImage image;
    const std::vector<uint8_t> oneLevel(4 * 4 * 4, 0xFF);
    // Two levels declared, one present.
    EXPECT_EQ(Decode(testimages::Dds(4, 4, 2, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0, oneLevel), image),
              D3DXERR_INVALIDDATA);
    // More levels than the size allows.
    EXPECT_EQ(Decode(testimages::Dds(4, 4, 4, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0, std::vector<uint8_t>(200)), image),
              D3DXERR_INVALIDDATA);
    // A huge size with a few bytes.
    EXPECT_EQ(Decode(testimages::Dds(16000, 16000, 1, D3DFMT_DXT5, 0, 0, 0, 0, 0, oneLevel), image),
              D3DXERR_INVALIDDATA);
    // An unknown block format.
    EXPECT_EQ(Decode(testimages::Dds(4, 4, 1, 0x31495441, 0, 0, 0, 0, 0, oneLevel), image), D3DXERR_INVALIDDATA);
}

void Put16(std::vector<uint8_t>& file, size_t at, uint32_t value, bool bigEndian) {
    file[at + (bigEndian ? 1 : 0)] = static_cast<uint8_t>(value);
    file[at + (bigEndian ? 0 : 1)] = static_cast<uint8_t>(value >> 8);
}

// A PNG whose header says `width` x `height`, its checksum made right, its data one pixel's.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
    std::vector<uint8_t> file = EncodePng(Gradient(1, 1), false);
    Put16(file, 16 + 2, width, true);
    Put16(file, 20 + 2, height, true);
    const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data() + 12, 17));
    for (int i = 0; i < 4; ++i) file[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return file;
}

// Headers are read before the pixels and decoders allocate from them: a few hundred bytes that
// claim a picture of gigabytes are refused before anything that size is asked for.
TEST(ImageDecoder, HeadersClaimingMoreThanTheFileCanHoldAreRefused) {
    DecodedImage image;
    std::vector<uint8_t> gif = testimages::Gif(Gradient(1, 1));
    Put16(gif, 6, 15648, false);
    Put16(gif, 8, 8736, false);
    EXPECT_EQ(Decode(gif, image), D3DXERR_INVALIDDATA) << "GIF screen";
    EXPECT_EQ(Decode(PngClaiming(16000, 16000), image), D3DXERR_INVALIDDATA) << "PNG";

    std::vector<uint8_t> bmp = EncodeBmp(Gradient(1, 1));
    Put16(bmp, 18, 16000, false);
    Put16(bmp, 22, 16000, false);
    EXPECT_EQ(Decode(bmp, image), D3DXERR_INVALIDDATA) << "BMP";
    std::vector<uint8_t> tga = EncodeTga(Gradient(1, 1), 24, true);
    Put16(tga, 12, 16000, false);
    Put16(tga, 14, 16000, false);
    EXPECT_EQ(Decode(tga, image), D3DXERR_INVALIDDATA) << "TGA";

    // A JPEG's size bounds nothing; it is refused as soon as its data runs out.
    std::vector<uint8_t> jpeg = EncodeJpeg(Gradient(16, 16), 90);
    const uint8_t startOfFrame[] = {0xFF, 0xC0};
    const auto frame = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
    ASSERT_NE(frame, jpeg.end());
    Put16(jpeg, static_cast<size_t>(frame - jpeg.begin()) + 5, 16000, true);
    Put16(jpeg, static_cast<size_t>(frame - jpeg.begin()) + 7, 16000, true);
    EXPECT_EQ(Decode(jpeg, image), D3DXERR_INVALIDDATA) << "JPEG";

    // What such files could hold still decodes: a small frame on a larger screen, and a PNG
    // whose data is one row repeated.
    Put16(gif, 6, 64, false);
    Put16(gif, 8, 48, false);
    ASSERT_EQ(Decode(gif, image), D3D_OK);
    EXPECT_EQ(image.info.Width, 64u);
    EXPECT_EQ(image.info.Height, 48u);
    ASSERT_EQ(Decode(EncodePng(testimages::Filled(2048, 2048, 0xFF203040), false), image), D3D_OK);
    EXPECT_EQ(image.Argb(0).pixels.back(), 0xFF203040u);
}

TEST(ImageDecoder, ImagesWiderThanTheLimitAreRefused) {
    const ArgbImage wide = testimages::Filled(16385, 1, 0xFF102030);
    const ArgbImage tall = testimages::Filled(1, 16385, 0xFF102030);
    const ArgbImage edge = testimages::Filled(16384, 1, 0xFF102030);
    for (const ArgbImage* picture : {&wide, &tall}) {
        for (const std::vector<uint8_t>& file :
             {EncodePng(*picture, false, 1), EncodeJpeg(*picture, 50), EncodeTga(*picture, 24, true), EncodeBmp(*picture),
              testimages::Gif(*picture), testimages::DdsArgb({*picture})}) {
            DecodedImage image;
            EXPECT_EQ(Decode(file, image), D3DXERR_INVALIDDATA) << file.size();
        }
    }
    DecodedImage image;
    EXPECT_EQ(Decode(EncodePng(edge, false, 1), image), D3D_OK);
    // A smaller limit is honoured too.
    EXPECT_EQ(Decode(EncodePng(Gradient(65, 2), false), image, ImageLimits{64}), D3DXERR_INVALIDDATA);
}

}  // namespace
}  // namespace gfx
