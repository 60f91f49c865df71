// Archives from the writer must be read by independent tools, which also notice damaged data.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "resources/DiskStream.h"
#include "resources/RarWriter.h"
#include "support/Shell.h"
#include "support/SkipOrFail.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

using testing_support::HaveTool;
using testing_support::WriteTestFile;
using testing_support::ShellQuote;

namespace {

auto RunTool(const std::string& command) { return testing_support::RunShell(command + " 2>/dev/null"); }

class ExternalReaders : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveTool("7z") || !HaveTool("lsar") || !HaveTool("bsdtar")) {
            QUELMONT_SKIP_OR_FAIL("7z, lsar or bsdtar missing");
        }
        std::string payload;
        for (int i = 0; i < 3000; ++i) payload += static_cast<char>('a' + i % 26);
        WriteTestFile(tree_.path(), "Media/clock.UDF", payload);
        WriteTestFile(tree_.path(), "Media/Fonts/main.fs", "Size = 14;");
        WriteTestFile(tree_.path(), "Media/c1.cam", "camera");
        archive_ = out_.path() + "/media.rar";
        DiskStream stream;
        ASSERT_TRUE(stream.Open(archive_.c_str(), DataStream::kWrite));
        ASSERT_TRUE(RarWriter::PackDirectory(tree_.path().c_str(), stream));
    }

    TempDir tree_;
    TempDir out_;
    std::string archive_;
};

}  // namespace

TEST_F(ExternalReaders, AcceptTheArchiveAndRejectAFlippedDataByte) {
    EXPECT_EQ(RunTool("7z t " + ShellQuote(archive_)).first, 0);
    const auto [lsarStatus, lsarOut] = RunTool("lsar -t " + ShellQuote(archive_));
    EXPECT_EQ(lsarStatus, 0) << lsarOut;
    const auto [tarStatus, listing] = RunTool("bsdtar -tf " + ShellQuote(archive_));
    EXPECT_EQ(tarStatus, 0);
    for (const char* name : {"Media/clock.UDF", "Media/Fonts/main.fs", "Media/c1.cam"}) {
        EXPECT_NE(listing.find(name), std::string::npos) << name << " in\n" << listing;
    }
    const auto [listStatus, technical] = RunTool("7z l -slt " + ShellQuote(archive_));
    ASSERT_EQ(listStatus, 0);
    EXPECT_NE(technical.find("Path = Media" + std::string("\nFolder = +")), std::string::npos) << technical;

    std::vector<uint8_t> bytes = testing_support::Bytes(ReadFile(archive_));
    const std::string needle = "abcdefghijklmnopqrstuvwxyzabcdefghij";  // inside clock.UDF's data
    const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    ASSERT_NE(at, bytes.end());
    *(at + 100) ^= 0x01;
    const std::string damaged = WriteTestFile(out_.path(), "damaged.rar", bytes);
    EXPECT_NE(RunTool("7z t " + ShellQuote(damaged)).first, 0);
    EXPECT_NE(RunTool("lsar -t " + ShellQuote(damaged)).first, 0);
}
