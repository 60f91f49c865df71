#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sys/Resources.h"
#include "resources/FileSource.h"
#include "resources/RarArchive.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

}  // namespace

TEST(ModuleResources, NamedTypesHoldTheirFilesBytesFoundInAnyCase) {
    const std::string settings = std::string(QUELMONT_SOURCE_DIR) + "/media/def_settings.txt";
    const std::vector<uint8_t> expected = ReadFile(settings);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Bytes(sys::GetResources().Find("CustomData", 193)), expected);
    EXPECT_EQ(Bytes(sys::GetResources().Find("customdata", 193)), expected);
    EXPECT_TRUE(sys::GetResources().Find("CustomData", 194).empty());
    EXPECT_TRUE(sys::GetResources().Find("MEMFILE", 193).empty());
    EXPECT_TRUE(sys::GetResources().Find("CustomData", 0).empty());
    EXPECT_TRUE(sys::GetResources().Find("CustomData", 70000).empty());
}

TEST(ModuleResources, ABitmapIsStoredWithoutItsFileHeader) {
    const std::vector<uint8_t> file = ReadFile(PREVIEW_BITMAP);
    ASSERT_GT(file.size(), 14u);
    EXPECT_EQ(Bytes(sys::GetResources().Find("BITMAP", 173)), std::vector<uint8_t>(file.begin() + 14, file.end()));
    EXPECT_EQ(Bytes(sys::GetResources().Find("Bitmap", 173)).size(), file.size() - 14);
}

TEST(ModuleResources, TheMediaArchiveMountsFromTheResourceSectionInPlace) {
    const std::span<const uint8_t> bytes = FileSource::FindMemFile(147);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.size(), ReadFile(std::string(QUELMONT_BINARY_DIR) + "/media/media.rar").size());
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(147)));
    EXPECT_TRUE(archive.Exists("Media\\clock.UDF"));
    auto stream = archive.OpenFile("media\\scene.props", DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_GT(stream->Size(), 0u);
}
