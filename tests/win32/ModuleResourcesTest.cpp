#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/Manifest.h"
#include "platform/sys/Resources.h"
#include "resources/FileSource.h"
#include "resources/RarArchive.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A manifest file: made by mediagen into the build's media folder, or else a source text.
std::vector<uint8_t> ManifestFile(const manifest::Resource& resource) {
    const std::string built = std::string(QUELMONT_BINARY_DIR) + "/media/" + resource.file;
    if (std::filesystem::exists(built)) return ReadFile(built);
    return ReadFile(std::string(QUELMONT_SOURCE_DIR) + "/media/" + resource.file);
}

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

}  // namespace

TEST(ModuleResources, EveryManifestEntryHoldsItsFilesBytes) {
    for (const manifest::Resource& resource :
         {manifest::kDefaultSettings, manifest::kDialogText, manifest::kStartupPicture, manifest::kLogoBottomRight,
          manifest::kLogoBottomLeft, manifest::kLogoTopLeft, manifest::kLogoTopRight, manifest::kMediaArchive}) {
        SCOPED_TRACE(resource.file);
        const std::vector<uint8_t> expected = ManifestFile(resource);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(Bytes(sys::GetResources().Find(resource.type, resource.id)), expected);
    }
}

TEST(ModuleResources, NamedTypesAreFoundInAnyCaseAndOnlyUnderTheirOwnType) {
    const manifest::Resource& settings = manifest::kDefaultSettings;
    EXPECT_EQ(Bytes(sys::GetResources().Find("customdata", settings.id)), ManifestFile(settings));
    EXPECT_TRUE(sys::GetResources().Find("MEMFILE", settings.id).empty());
    EXPECT_TRUE(sys::GetResources().Find(settings.type, 0).empty());
    EXPECT_TRUE(sys::GetResources().Find(settings.type, 70000).empty());
}

TEST(ModuleResources, ABitmapIsStoredWithoutItsFileHeader) {
    for (const manifest::Resource& bitmap : {manifest::kPreviewBitmap, manifest::kCornerBitmap}) {
        SCOPED_TRACE(bitmap.id);
        const std::vector<uint8_t> file = ManifestFile(bitmap);
        ASSERT_GT(file.size(), 14u);
        EXPECT_EQ(Bytes(sys::GetResources().Find("BITMAP", bitmap.id)), std::vector<uint8_t>(file.begin() + 14, file.end()));
        EXPECT_EQ(Bytes(sys::GetResources().Find("Bitmap", bitmap.id)).size(), file.size() - 14);
    }
}

TEST(ModuleResources, TheMediaArchiveMountsFromTheResourceSectionInPlace) {
    const int id = manifest::kMediaArchive.id;
    ASSERT_FALSE(FileSource::FindMemFile(id).empty());
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(id)));
    EXPECT_TRUE(archive.Exists("Media\\clock.UDF"));
    auto stream = archive.OpenFile("media\\scene.props", DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_GT(stream->Size(), 0u);
}
