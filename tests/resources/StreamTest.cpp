#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "resources/DiskStream.h"
#include "resources/MemoryStream.h"
#include "support/Printers.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

using testing_support::Bytes;
using testing_support::WriteTestFile;

namespace {

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

// Every kind of stream holding the same bytes, opened for reading at the start: the contract
// below holds for each of them alike.
struct StreamKind {
    const char* name;
    std::unique_ptr<DataStream> (*make)(const std::vector<uint8_t>& bytes, const std::string& dir);
};

const StreamKind kStreamKinds[] = {
    {"Disk",
     [](const std::vector<uint8_t>& bytes, const std::string& dir) -> std::unique_ptr<DataStream> {
         auto stream = std::make_unique<DiskStream>();
         if (!stream->Open(WriteTestFile(dir, "data.bin", bytes).c_str(), DataStream::kRead)) return nullptr;
         return stream;
     }},
    {"MemoryInPlace",
     [](const std::vector<uint8_t>& bytes, const std::string&) -> std::unique_ptr<DataStream> {
         ByteBlock block;
         block.Refer(bytes.data(), static_cast<uint32_t>(bytes.size()));
         return MemoryStream::Over(std::move(block), DataStream::kRead);
     }},
    {"MemoryWriteBuffer",
     [](const std::vector<uint8_t>& bytes, const std::string&) -> std::unique_ptr<DataStream> {
         ByteBlock block;
         block.Refer(bytes.data(), static_cast<uint32_t>(bytes.size()));
         return MemoryStream::Over(std::move(block), DataStream::kWrite);
     }},
};

class StreamContract : public testing::TestWithParam<StreamKind> {
protected:
    // The bytes live as long as the test: a stream in place reads them where they are.
    std::unique_ptr<DataStream> Make(std::vector<uint8_t> bytes) {
        bytes_ = std::move(bytes);
        auto stream = GetParam().make(bytes_, dir_.path());
        EXPECT_NE(stream, nullptr);
        return stream;
    }

private:
    TempDir dir_;
    std::vector<uint8_t> bytes_;
};

}  // namespace

TEST_P(StreamContract, ReadGivesTheBytesCopiedAndShortReadsStopAtTheEnd) {
    auto stream = Make(Counting(6));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 6u);
    uint8_t out[8] = {};
    EXPECT_EQ(stream->Read(out, 0), 0u);
    EXPECT_TRUE(stream->ReadAll(out, 0));
    EXPECT_EQ(stream->Read(out, 4), 4u);
    EXPECT_EQ(stream->Tell(), 4u);
    EXPECT_EQ(stream->Read(out, 8), 2u);  // only two were left
    EXPECT_EQ(out[0], 4);
    EXPECT_EQ(out[1], 5);
    EXPECT_EQ(stream->Read(out, 1), 0u);
    EXPECT_TRUE(stream->IsEof());
    ASSERT_TRUE(stream->Seek(-3, DataStream::kFromEnd));
    EXPECT_FALSE(stream->ReadAll(out, 4));
}

TEST_P(StreamContract, TypedReadsNeedEveryByteOfTheField) {
    auto stream = Make(Counting(6));
    ASSERT_NE(stream, nullptr);
    uint32_t value = 0;
    ASSERT_TRUE(stream->ReadU32(value));
    EXPECT_EQ(value, 0x03020100u);  // little-endian
    value = 0xDEADBEEF;
    EXPECT_FALSE(stream->ReadU32(value));  // two bytes left are not a field
    EXPECT_EQ(value, 0u);

    ASSERT_TRUE(stream->Seek(5, DataStream::kFromStart));
    uint8_t byte = 0;
    ASSERT_TRUE(stream->ReadU8(byte));
    EXPECT_EQ(byte, 5);
    EXPECT_FALSE(stream->ReadU8(byte));
    EXPECT_EQ(byte, 0);
}

TEST_P(StreamContract, TextIsBuiltOnlyFromBytesThatWereRead) {
    auto stream = Make(testing_support::Bytes("hello"));
    ASSERT_NE(stream, nullptr);
    EngineString text("stale");
    ASSERT_TRUE(stream->ReadText(text, 2));
    EXPECT_EQ(text, "he");
    EXPECT_FALSE(stream->ReadText(text, 4));  // three remain
    EXPECT_TRUE(text.empty());
    ASSERT_TRUE(stream->Seek(0, DataStream::kFromStart));
    EXPECT_FALSE(stream->ReadText(text, 300));  // past the small buffer too
    EXPECT_TRUE(text.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, StreamContract, testing::ValuesIn(kStreamKinds),
                         [](const testing::TestParamInfo<StreamKind>& info) { return std::string(info.param.name); });

TEST(MemoryStream, SeeksUpToTheEndAndReadsAtTheEndSetEof) {
    const std::vector<uint8_t> bytes = Counting(10);
    MemoryStream stream;
    stream.Refer(bytes.data(), 10);
    ASSERT_TRUE(stream.Open("ignored", DataStream::kRead));
    EXPECT_EQ(stream.Size(), 10u);
    EXPECT_TRUE(stream.Seek(10, DataStream::kFromStart));
    EXPECT_FALSE(stream.Seek(11, DataStream::kFromStart));
    EXPECT_EQ(stream.Tell(), 10u);  // a failed seek keeps the position
    EXPECT_FALSE(stream.Seek(-1, DataStream::kFromStart));
    uint8_t b = 0xAA;
    EXPECT_FALSE(stream.IsEof());
    EXPECT_EQ(stream.Read(&b, 1), 0u);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_TRUE(stream.Seek(-3, DataStream::kFromCurrent));
    EXPECT_FALSE(stream.IsEof());
    EXPECT_TRUE(stream.Seek(-4, DataStream::kFromEnd));
    EXPECT_EQ(stream.Tell(), 6u);
}

TEST(MemoryStream, BaseOffsetMakesPositionsFileOffsets) {
    const std::vector<uint8_t> bytes = Counting(10);
    MemoryStream stream;
    stream.Refer(bytes.data(), 10);
    stream.SetBaseOffset(1000);
    stream.Open(nullptr, DataStream::kRead);
    EXPECT_EQ(stream.Tell(), 1000u);
    ASSERT_TRUE(stream.Seek(1004, DataStream::kFromStart));
    uint8_t b = 0;
    ASSERT_EQ(stream.Read(&b, 1), 1u);
    EXPECT_EQ(b, 4);  // the fifth byte
    EXPECT_EQ(stream.Tell(), 1005u);
    EXPECT_FALSE(stream.Seek(999, DataStream::kFromStart));
    EXPECT_TRUE(stream.Seek(1010, DataStream::kFromStart));
    EXPECT_FALSE(stream.Seek(1011, DataStream::kFromStart));
    // From the end the base is taken off as well.
    ASSERT_TRUE(stream.Seek(998, DataStream::kFromEnd));
    EXPECT_EQ(stream.Tell(), 1008u);
}

TEST(MemoryStream, WriteBufferGrowsInChunksAndOverwritesInPlace) {
    MemoryStream stream;
    stream.Open(nullptr, DataStream::kWrite);
    const std::vector<uint8_t> bytes = Counting(40000);  // crosses two chunk boundaries
    ASSERT_EQ(stream.Write(bytes.data(), 40000), 40000u);
    EXPECT_EQ(stream.Size(), 40000u);
    ASSERT_TRUE(stream.Seek(16380, DataStream::kFromStart));
    const uint8_t patch[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    stream.Write(patch, 8);
    EXPECT_EQ(stream.Size(), 40000u);
    ASSERT_TRUE(stream.Seek(39998, DataStream::kFromStart));
    stream.Write(patch, 8);  // grows past the old end
    EXPECT_EQ(stream.Size(), 40006u);

    std::vector<uint8_t> expected = bytes;
    std::copy(patch, patch + 8, expected.begin() + 16380);
    expected.resize(39998);
    expected.insert(expected.end(), patch, patch + 8);
    std::vector<uint8_t> back(40006);
    stream.Seek(0, DataStream::kFromStart);
    ASSERT_EQ(stream.Read(back.data(), 40006), 40006u);
    EXPECT_EQ(back, expected);

    MemoryStream copy;
    copy.Open(nullptr, DataStream::kWrite);
    ASSERT_TRUE(stream.CopyWrittenTo(copy));
    std::vector<uint8_t> copied(40006);
    copy.Seek(0, DataStream::kFromStart);
    copy.Read(copied.data(), 40006);
    EXPECT_EQ(copied, expected);
}

TEST(MemoryStream, OverCopiesForWritingAndRefersOrAdoptsForReading) {
    std::vector<uint8_t> bytes = Counting(4);
    ByteBlock referred;
    referred.Refer(bytes.data(), 4);
    auto writable = MemoryStream::Over(std::move(referred), DataStream::kWrite);
    bytes[0] = 99;  // the write buffer holds its own copy
    uint8_t b = 0;
    ASSERT_EQ(writable->Read(&b, 1), 1u);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(writable->Size(), 4u);

    ByteBlock again;
    again.Refer(bytes.data(), 4);
    auto reading = MemoryStream::Over(std::move(again), DataStream::kRead);
    ASSERT_EQ(reading->Read(&b, 1), 1u);
    EXPECT_EQ(b, 99);  // read in place
}

TEST(DiskStream, WritesAndTakesEitherSeparatorButNoFolder) {
    TempDir dir;
    const std::string path = dir.path() + "/out.bin";
    {
        DiskStream stream;
        ASSERT_TRUE(stream.Open(path.c_str(), DataStream::kWrite));
        EXPECT_TRUE(stream.WriteU32(0xA1B2C3D4));
        EXPECT_TRUE(stream.WriteU8(7));
        EXPECT_EQ(stream.Size(), 5u);
    }
    EXPECT_EQ(Bytes(ReadFile(path)), (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1, 7}));

    WriteTestFile(dir.path(), "Media/x.txt", "hello");
    const std::string backslashed = dir.path() + "\\Media\\x.txt";
    DiskStream stream;
    ASSERT_TRUE(stream.Open(backslashed.c_str(), DataStream::kRead));
    EngineString text;
    ASSERT_TRUE(stream.ReadText(text, 5));
    EXPECT_EQ(text, "hello");
    EXPECT_FALSE(stream.Open((dir.path() + "/Media").c_str(), DataStream::kRead));
    EXPECT_FALSE(stream.Open((dir.path() + "/missing").c_str(), DataStream::kRead));
}
