// Small files that would make the parsers build without end: each stays within work in
// proportion to its size and fails cleanly past it, while honest files of the same shapes load
// whole. The two damaged files came from long fuzz runs and seed the fuzz corpora too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/MemoryStream.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "udf/UdfReader.h"
#include "udf/UdfTextParser.h"
#include "udf/UdfWriter.h"

using testing_support::ScopedWorkingDir;
using testing_support::WriteTestFile;

namespace {

std::string CorpusFile(const std::string& relative) {
    return ReadFile(std::string(QUELMONT_SOURCE_DIR) + "/fuzz/data/corpus/" + relative);
}

bool ParseText(const std::string& text, UdfTextNode& root, const FileSearchList* searchList = nullptr) {
    MemoryStream stream;
    stream.Refer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
    stream.Open(nullptr, DataStream::kRead);
    return ParseUdfText(stream, root, searchList);
}

size_t CountNodes(const UdfTextNode& node) {
    size_t n = 1;
    for (const auto& entry : node.Children()) n += CountNodes(*entry.node);
    return n;
}

size_t CountNodes(const UdfNode& node) {
    size_t n = 1;
    for (const auto& entry : node.Children()) n += entry.linked ? 1 : CountNodes(*entry.node);
    return n;
}

// "x0 = array(1, 2); x1 = array(x0, x0); ..." doubles the tree with every statement.
std::string DoublingCopies(int statements) {
    std::string text = "x0 = array(1, 2);";
    for (int i = 1; i <= statements; ++i) {
        const std::string before = "x" + std::to_string(i - 1);
        text += " x" + std::to_string(i) + " = array(" + before + ", " + before + ");";
    }
    return text;
}

}  // namespace

TEST(TextWorkBound, DoublingCopiesStopInProportionToTheFile) {
    UdfTextNode honest;
    ASSERT_TRUE(ParseText(DoublingCopies(8), honest));  // 2^9 leaves from 170 bytes is fine
    EXPECT_EQ(CountNodes(*honest.FindChild("x8")), 1023u);

    const std::string text = DoublingCopies(40);  // 2^41 leaves
    UdfTextNode root;
    EXPECT_FALSE(ParseText(text, root));
    EXPECT_LE(CountNodes(root), 4096 + 8 * text.size());

    // The largest file a fuzz run hands over, all of it doubling copies: once a million nodes.
    std::string large = DoublingCopies(40);
    large += " // " + std::string(16384 - large.size() - 4, 'p');
    UdfTextNode bounded;
    EXPECT_FALSE(ParseText(large, bounded));
    EXPECT_LE(CountNodes(bounded), 4096 + 8 * large.size());

    const std::string found = CorpusFile("udf_text/slow-copies-464.bin");
    ASSERT_EQ(found.size(), 464u);
    UdfTextNode fuzzed;
    ParseText(found, fuzzed);
    EXPECT_LE(CountNodes(fuzzed), 4096 + 8 * found.size());
}

TEST(TextWorkBound, IncludesShareTheBudgetAndTheirNumberIsBounded) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    // Each file includes the next twice: 2^15 parses without a bound on their number.
    for (int i = 0; i < 16; ++i) {
        const std::string next = "f" + std::to_string(i + 1) + ".txt";
        WriteTestFile(dir.path(), "f" + std::to_string(i) + ".txt",
                      "n" + std::to_string(i) + " = 1; include(\"" + next + "\"); include(\"" + next + "\");");
    }
    UdfTextNode root;
    EXPECT_FALSE(ParseText("include(\"f0.txt\");", root));
    EXPECT_EQ(root.FindChild("n0")->Value(), "1");

    // A few includes, each used several times, are what real files do.
    WriteTestFile(dir.path(), "colour.txt", "r = 1; g = 0.5; b = 0.25;");
    UdfTextNode real;
    EXPECT_TRUE(ParseText("using A; include(\"colour.txt\"); using B; include(\"colour.txt\"); "
                          "using C; include(\"colour.txt\");",
                          real));
    EXPECT_EQ(real.FindChild("r")->Value(), "1");
}

TEST(BinaryWorkBound, EmptyMembersNestingWithoutEndStopInProportionToTheFile) {
    const std::string found = CorpusFile("udf_binary/slow-expansion-821.bin");
    ASSERT_EQ(found.size(), 821u);
    const std::vector<uint8_t> bytes(found.begin(), found.end());
    // The modes with leaf expansion, with the expansion flags the fuzz target pairs them with.
    for (const auto& [mode, flags] : {std::pair{0x08u, 3u}, std::pair{0x48u, 2u}, std::pair{0xD8u, 7u}}) {
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_NE(root, nullptr);
        EXPECT_TRUE(reader.LoadNode(*root, mode, flags));
        // Expansion work, and the directory entries the file holds.
        EXPECT_LE(CountNodes(*root), 1024 + 16 * bytes.size() + bytes.size() / 17) << mode;
    }
}

TEST(BinaryWorkBound, ALargeByteArrayStillExpandsWhole) {
    TempDir dir;
    const std::string path = dir.path() + "/bytes.udf";
    std::vector<uint8_t> pixels(100000);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i);
    UdfNode top("Top", "Node", 0);
    top.SetFlags(UdfNode::kStruct);
    top.AddData("Pixels", "byte", pixels.data(), static_cast<uint32_t>(pixels.size()), true)
        ->SetFlags(UdfNode::kArray);
    top.FindChild("Pixels")->SetCount(static_cast<uint32_t>(pixels.size()));
    ASSERT_TRUE(UdfWriter().Save(path.c_str(), {&top}, nullptr, 0));

    const std::string file = ReadFile(path);
    UdfReader reader;
    std::unique_ptr<UdfNode> root =
        reader.OpenMemory(reinterpret_cast<const uint8_t*>(file.data()), static_cast<uint32_t>(file.size()));
    ASSERT_NE(root, nullptr);
    reader.LoadNode(*root, 0, 0);
    UdfNode* loaded = root->FindChild("Top")->FindChild("Pixels");
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(reader.ExpandLeaf(*loaded, UdfReader::kExpandBasicArrays));
    ASSERT_EQ(loaded->ChildCount(), pixels.size());
    EXPECT_EQ(loaded->FindChild("99999")->Data()[0], pixels[99999]);
}
