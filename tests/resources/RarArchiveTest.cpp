#include <gtest/gtest.h>

#include "common/LittleEndian.h"
#include "resources/RarArchive.h"
#include "resources/RarFormat.h"
#include "support/TestArchives.h"
#include "support/Printers.h"
#include "support/MediaResources.h"
#include "support/TestFiles.h"

using testing_support::ArchiveEntry;
using testing_support::BuildRar;
using testing_support::Bytes;

namespace {

std::vector<uint8_t> MediaArchive() {
    return BuildRar({{"Media", {}, true},
                     {"Media\\clock.UDF", Bytes("scene bytes"), false},
                     {"Media/c1.cam", Bytes("camera path"), false},
                     {"Media\\empty.txt", {}, false}});
}

std::string Extracted(const RarArchive& archive, const char* name, RarArchive::Result expected) {
    ByteBlock out;
    EXPECT_EQ(archive.Extract(name, out), expected) << name;
    return std::string(reinterpret_cast<const char*>(out.data), out.size);
}

// Rewrites the main header's flags and its CRC.
void SetMainFlags(std::vector<uint8_t>& archive, uint16_t flags) {
    PutLe16(archive.data() + 7 + 3, flags);
    PutLe16(archive.data() + 7, rar::HeaderCrc({archive.data() + 7, rar::kMainHeaderSize}));
}

}  // namespace

TEST(RarArchive, ReadsInPlaceAndMatchesNamesRegardlessOfCaseAndSeparator) {
    const std::vector<uint8_t> bytes = MediaArchive();
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true)));
    EXPECT_TRUE(archive.RefersToBytes());
    EXPECT_EQ(archive.Bytes().data(), bytes.data());

    EXPECT_EQ(Extracted(archive, "MEDIA/CLOCK.UDF", RarArchive::Result::kOk), "scene bytes");
    EXPECT_EQ(Extracted(archive, "Media/c1.cam", RarArchive::Result::kOk), "camera path");
    EXPECT_EQ(Extracted(archive, "media_C1.CAM", RarArchive::Result::kOk), "camera path");
    EXPECT_EQ(Extracted(archive, "Media\\empty.txt", RarArchive::Result::kOk), "");
    Extracted(archive, "Media/c2.cam", RarArchive::Result::kNotFound);
    EXPECT_TRUE(archive.Exists("Media/c2.cam"));  // existence is only known on opening
    EXPECT_EQ(archive.OpenFile("Media/c2.cam", DataStream::kRead), nullptr);

    auto stream = archive.OpenFile("media\\clock.udf", DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 11u);
    EngineString text;
    ASSERT_TRUE(stream->ReadText(text, 11));
    EXPECT_EQ(text, "scene bytes");
}

TEST(RarArchive, WritesTheLayoutOfTheMediaArchive) {
    const std::vector<uint8_t> bytes = MediaArchive();
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true)));
    std::vector<RarArchive::Member> members;
    ASSERT_TRUE(archive.List(members));
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0].name, "Media");
    EXPECT_TRUE(members[0].isDirectory);
    EXPECT_EQ(members[0].attributes, 0x10u);
    EXPECT_EQ(members[2].name, "Media\\c1.cam");  // stored with backslashes
    for (const RarArchive::Member& member : members) {
        EXPECT_EQ(member.version, 20);
        EXPECT_EQ(member.method, 0x30);
        EXPECT_EQ(member.packedSize, member.unpackedSize);
    }
    // The classic end block, CRC included.
    const std::vector<uint8_t> end(bytes.end() - 7, bytes.end());
    EXPECT_EQ(end, (std::vector<uint8_t>{0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00}));
    // Every header CRC holds; a file header is 32 bytes plus the name.
    rar::BlockWalker walker(bytes);
    ASSERT_TRUE(walker.Start());
    rar::Block block;
    while (walker.Next(block)) {
        if (block.type != rar::kFileHeader) continue;
        EXPECT_EQ(block.headSize, 32 + block.nameLength);
        EXPECT_EQ(block.headCrc, rar::HeaderCrc({bytes.data() + block.position, block.headSize}));
    }
}

TEST(RarArchive, RejectsFlippedDataBadVersionsAndCompressedMembers) {
    std::vector<uint8_t> bytes = MediaArchive();
    const size_t data = testing_support::MemberDataOffset(bytes, "Media\\c1.cam");
    bytes[data + 3] ^= 0x01;
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true)));
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kCrcMismatch);
    EXPECT_EQ(archive.OpenFile("Media/c1.cam", DataStream::kRead), nullptr);
    EXPECT_EQ(Extracted(archive, "Media/clock.UDF", RarArchive::Result::kOk), "scene bytes");

    const size_t header = data - rar::kFileHeadSize - std::string("Media\\c1.cam").size();
    bytes[data + 3] ^= 0x01;
    bytes[header + 24] = 21;  // newer than 2.0
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kUnsupported);
    bytes[header + 24] = 12;
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kUnsupported);
    bytes[header + 24] = 13;
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kOk);
    bytes[header + 25] = 0x33;  // compressed
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kUnsupported);
}

TEST(RarArchive, SolidArchivesPassEveryEarlierMemberThroughTheChecks) {
    std::vector<uint8_t> bytes = MediaArchive();
    bytes[testing_support::MemberDataOffset(bytes, "Media\\clock.UDF")] ^= 0x80;
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true)));
    EXPECT_EQ(Extracted(archive, "Media/c1.cam", RarArchive::Result::kOk), "camera path");
    SetMainFlags(bytes, rar::kMainSolid);
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kCrcMismatch);
}

TEST(RarArchive, DamagedArchivesFailCleanly) {
    const std::vector<uint8_t> whole = MediaArchive();
    // Cut at every length: no read leaves the bytes, and nothing cut short is served.
    for (size_t n = 0; n < whole.size(); ++n) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(n));
        RarArchive archive;
        archive.Open(FileSource(cut.data(), static_cast<uint32_t>(cut.size()), true));
        ByteBlock out;
        const RarArchive::Result result = archive.Extract("Media/empty.txt", out);
        EXPECT_EQ(result == RarArchive::Result::kOk, n >= whole.size() - 7) << n;
        std::vector<RarArchive::Member> members;
        EXPECT_EQ(archive.List(members), n >= 20) << n;
    }
    std::vector<uint8_t> bytes = whole;
    const size_t data = testing_support::MemberDataOffset(bytes, "Media\\c1.cam");
    const size_t header = data - rar::kFileHeadSize - 12;
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(bytes.data(), static_cast<uint32_t>(bytes.size()), true)));
    PutLe32(bytes.data() + header + 11, 0xFFFFFFF0);  // unpacked far beyond packed
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kDamaged);
    PutLe32(bytes.data() + header + 7, 0xFFFFFFF0);  // and both beyond the archive
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kDamaged);
    PutLe16(bytes.data() + header + 5, 3);  // a header shorter than 7 bytes ends the walk
    Extracted(archive, "Media/c1.cam", RarArchive::Result::kNotFound);
    bytes[0] = 'r';
    Extracted(archive, "Media/clock.UDF", RarArchive::Result::kNotAnArchive);
}

TEST(RarArchive, OpensOnTheResourceWithoutCopyingIt) {
    MediaResources resources;
    const std::vector<uint8_t> resource = MediaArchive();
    resources.Add("MEMFILE", 147, resource);
    RarArchive archive;
    ASSERT_TRUE(archive.Open(FileSource(int32_t{147})));
    EXPECT_TRUE(archive.RefersToBytes());
    EXPECT_EQ(archive.Bytes().data(), resource.data());
    EXPECT_EQ(Extracted(archive, "Media/c1.cam", RarArchive::Result::kOk), "camera path");
    archive.Close();
    EXPECT_TRUE(archive.Bytes().empty());
    EXPECT_FALSE(archive.Open(FileSource(int32_t{148})));
}
