#include <gtest/gtest.h>

#include "resources/FileSearchList.h"
#include "resources/FileSource.h"
#include "resources/RarArchive.h"
#include "support/TestArchives.h"
#include "support/Printers.h"
#include "support/MediaResources.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

using testing_support::Bytes;
using testing_support::ScopedWorkingDir;
using testing_support::WriteTestFile;

namespace {

std::string ReadAllText(DataStream& stream) {
    std::string text(stream.Size(), '\0');
    if (!text.empty()) stream.Read(text.data(), static_cast<uint32_t>(text.size()));
    return text;
}

class FileStore : public ::testing::Test {
protected:
    FileStore() : archiveBytes_(testing_support::BuildRar({{"Media", {}, true},
                                                           {"Media\\Scene.props", Bytes("from archive"), false},
                                                           {"Media\\x", Bytes("x in archive"), false}})) {
        archive_.Open(FileSource(archiveBytes_.data(), static_cast<uint32_t>(archiveBytes_.size()), true));
    }

    TempDir dir_;
    ScopedWorkingDir cwd_{dir_.path()};
    std::vector<uint8_t> archiveBytes_;
    RarArchive archive_;
};

}  // namespace

TEST_F(FileStore, DiskWinsOverTheArchiveAndTheServingPlaceIsKept) {
    FileSource source(&archive_, "Media/Scene.props");
    source.sources |= FileSource::kDisk;
    auto stream = source.Open(DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAllText(*stream), "from archive");
    EXPECT_EQ(source.sources, uint32_t{FileSource::kArchive});

    WriteTestFile(dir_.path(), "Media/Scene.props", "loose file");
    FileSource again(&archive_, "Media/Scene.props");
    again.sources |= FileSource::kDisk;
    stream = again.Open(DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAllText(*stream), "loose file");
    EXPECT_EQ(again.sources, uint32_t{FileSource::kDisk});

    FileSource nowhere("Media/missing");
    EXPECT_EQ(nowhere.Open(DataStream::kRead), nullptr);
    EXPECT_EQ(nowhere.sources, uint32_t{FileSource::kDisk});
}

TEST_F(FileStore, ResourceAndMemoryAreReadInPlaceOrCopiedAsAsked) {
    MediaResources resources;
    const std::vector<uint8_t> resource = Bytes("resource");
    resources.Add("MEMFILE", 186, resource);

    FileSource fromResource(int32_t{186});
    ByteBlock block;
    bool wantReference = true;
    ASSERT_TRUE(fromResource.ReadAll(block, wantReference));
    EXPECT_TRUE(wantReference);
    EXPECT_EQ(block.data, resource.data());
    wantReference = false;
    ASSERT_TRUE(fromResource.ReadAll(block, wantReference));
    EXPECT_NE(block.data, resource.data());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data), block.size), "resource");

    // A missing resource falls through to the disk.
    WriteTestFile(dir_.path(), "fallback.txt", "on disk");
    FileSource missing(int32_t{187});
    missing.sources |= FileSource::kDisk;
    missing.path = "fallback.txt";
    auto stream = missing.Open(DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAllText(*stream), "on disk");
    EXPECT_EQ(missing.sources, uint32_t{FileSource::kDisk});

    const std::vector<uint8_t> bytes = Bytes("memory");
    FileSource copied(bytes.data(), 6, false);
    wantReference = true;
    ASSERT_TRUE(copied.ReadAll(block, wantReference));
    EXPECT_FALSE(wantReference);
    EXPECT_NE(block.data, bytes.data());
    FileSource referred(bytes.data(), 6, true);
    wantReference = true;
    ASSERT_TRUE(referred.ReadAll(block, wantReference));
    EXPECT_TRUE(wantReference);
    EXPECT_EQ(block.data, bytes.data());

    wantReference = true;
    FileSource disk("fallback.txt");
    ASSERT_TRUE(disk.ReadAll(block, wantReference));
    EXPECT_FALSE(wantReference);
    EXPECT_EQ(block.size, 7u);
    FileSource absent("absent.txt");
    EXPECT_FALSE(absent.ReadAll(block, wantReference));
}

TEST(FileSource, ParentDirectoryKeepsThePlacesOfANonEmptyPath) {
    RarArchive archive;
    FileSource source(&archive, "Media/sub\\Scene.props");
    source.sources |= FileSource::kDisk;
    const FileSource parent = source.ParentDirectory();
    EXPECT_EQ(parent.path, "Media/sub");
    EXPECT_EQ(parent.sources, uint32_t{FileSource::kDisk | FileSource::kArchive});
    EXPECT_EQ(parent.archive, &archive);
    EXPECT_EQ(parent.ParentDirectory().path, "Media");

    const FileSource top = FileSource("Scene.props").ParentDirectory();
    EXPECT_EQ(top.path, "");
    EXPECT_EQ(top.sources, 0u);
    EXPECT_EQ(FileSource("/Scene.props").ParentDirectory().path, "");  // a separator at the start
}

TEST_F(FileStore, SearchListAddsEachPlaceOnceAndMerges) {
    FileSearchList list;
    list.Add(FileSource("Media"));
    list.Add(FileSource("Media"));
    list.Add(FileSource(&archive_, "Media"));
    FileSource both(&archive_, "Fonts");
    both.sources |= FileSource::kDisk;
    list.Add(both);
    list.Add(FileSource(nullptr, "NoArchive"));  // an archive place without an archive
    EXPECT_EQ(list.Directories().size(), 2u);
    EXPECT_EQ(list.Archives().size(), 2u);

    RarArchive other;
    FileSearchList more;
    more.Add(FileSource("Media"));
    more.Add(FileSource("Textures"));
    more.Add(FileSource(&other, "Media"));  // another archive is another place
    list.Merge(more);
    ASSERT_EQ(list.Directories().size(), 3u);
    EXPECT_EQ(list.Directories()[2].path, "Textures");
    ASSERT_EQ(list.Archives().size(), 3u);
    EXPECT_EQ(list.Archives()[2].archive, &other);
}

TEST_F(FileStore, ResolveStripsLeadingSlashesThenBackslashesAndSearches) {
    WriteTestFile(dir_.path(), "Media/x", "x on disk");
    WriteTestFile(dir_.path(), "Data/Fonts/a.fs", "font");
    FileSearchList list;
    FileSource leading("//\\Media/x");
    ASSERT_TRUE(list.Resolve(leading));
    EXPECT_EQ(leading.path, "Media/x");
    EXPECT_EQ(leading.sources, uint32_t{FileSource::kDisk});

    // An absolute path is the file itself (a user's picture), not a name to search for.
    const std::string absolutePath = dir_.path() + "/Media/x";
    FileSource absolute{EngineString(absolutePath.c_str())};
    ASSERT_TRUE(list.Resolve(absolute));
    EXPECT_EQ(absolute.path, absolutePath.c_str());

    FileSource backslashFirst("\\/Media/x");  // only "\" runs are stripped after the "/" ones
    EXPECT_FALSE(list.Resolve(backslashFirst));
    EXPECT_EQ(backslashFirst.path, "\\/Media/x");

    list.Add(FileSource("Nowhere/"));
    list.Add(FileSource("Data/Fonts/\\"));  // trailing "\" go first, then "/"
    FileSource font("a.fs");
    ASSERT_TRUE(list.Resolve(font));
    EXPECT_EQ(font.path, "Data/Fonts/a.fs");

    // Through a search archive: its prefix joined with the name.
    list.Add(FileSource(&archive_, "Media\\"));
    FileSource member(nullptr, "/Scene.props");
    ASSERT_TRUE(list.Resolve(member));
    EXPECT_EQ(member.archive, &archive_);
    EXPECT_EQ(member.path, "Media/Scene.props");
    auto stream = member.Open(DataStream::kRead);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAllText(*stream), "from archive");

    const std::vector<uint8_t> bytes = Bytes("m");
    FileSource memory(bytes.data(), 1, true);
    memory.sources |= FileSource::kDisk;
    ASSERT_TRUE(list.Resolve(memory));
    EXPECT_EQ(memory.sources, uint32_t{FileSource::kMemory});
}
