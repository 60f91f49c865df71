// Damaged binary files load cleanly: no read outside the bytes, no endless work, no node owned
// twice or lost.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/Printers.h"
#include "udf/UdfReader.h"
#include "udf/UdfWriter.h"

namespace {

// Writes the binary format field by field, for files the writer would never make.
class FileBuilder {
public:
    FileBuilder& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    FileBuilder& U8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    FileBuilder& Str(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // The header with no type definitions; the root area starts at 30.
    FileBuilder& Header() { return U32(0).Str("UDF Binary 1.0").U32(0).U32(0); }
    FileBuilder& Entry(const std::string& name, uint8_t flags, uint32_t offset, uint32_t size) {
        Str(name).Str("T").U8(flags);
        if (flags & UdfNode::kArray) U32(1);
        return U32(offset).U32(size);
    }
    uint32_t Position() const { return static_cast<uint32_t>(bytes.size()); }
    // Fills in the root length, at 26 in a file without type definitions.
    void Finish(uint32_t at = 26) {
        const uint32_t length = Position() - at;
        for (uint32_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(length >> (8 * i));
    }

    std::vector<uint8_t> bytes;
};

size_t CountNodes(const UdfNode& node) {
    size_t n = 1;
    for (const auto& entry : node.Children()) n += entry.linked ? 1 : CountNodes(*entry.node);
    return n;
}

// Loads the whole file with `mode`, expanding leaves too; gives the number of nodes reached.
size_t LoadAll(const std::vector<uint8_t>& bytes, uint32_t mode) {
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!root) return 0;
    reader.LoadNode(*root, mode, UdfReader::kExpandBasicArrays);
    return CountNodes(*root);
}

std::vector<uint8_t> SampleFile() {
    std::vector<UdfTypeDef> types = {{"Pair", {{"a", "int"}, {"b", "char", true, 4}}}};
    UdfNode top("Top", "Node", 0);
    top.SetFlags(UdfNode::kStruct);
    UdfNode* inner = top.AddArray("Inner", "Node", 2);
    inner->SetFlags(UdfNode::kStruct | UdfNode::kArray);
    const uint8_t pair[8] = {1, 0, 0, 0, 'a', 'b', 'c', 'd'};
    inner->AddData("0", "Pair", pair, 8, true);
    inner->AddData("1", "int", pair, 8, true)->SetFlags(UdfNode::kArray);
    top.AddString("Name", "sample");
    UdfNode other("Other", "Node", 0);
    other.SetFlags(UdfNode::kStruct);
    other.Attach(inner->FindChild("0"), true);
    char path[] = "/tmp/quelmont-damage-XXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    EXPECT_TRUE(UdfWriter().Save(path, {&top, &other}, &types, 0));
    FILE* file = std::fopen(path, "rb");
    std::vector<uint8_t> bytes(4096);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    std::remove(path);
    other.Detach("0");
    return bytes;
}

constexpr uint32_t kModes[] = {0x00, 0x08, 0x10, 0x40, 0xC8, 0xD0};

}  // namespace

TEST(UdfBinaryDamage, EveryTruncationAndFlippedByteLoadsSafely) {
    const std::vector<uint8_t> whole = SampleFile();
    ASSERT_GT(whole.size(), 150u);
    const size_t complete = LoadAll(whole, 0x08);
    EXPECT_EQ(complete, 14u);  // root, 2 tops, Inner, 0 (+2 members, +4 chars), 1 (+2 ints), Name, link
    for (const uint32_t mode : kModes) EXPECT_EQ(LoadAll(whole, mode | 0x08), complete) << mode;
    for (size_t n = 0; n < whole.size(); ++n) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(n));
        for (const uint32_t mode : kModes) EXPECT_LE(LoadAll(cut, mode), complete) << n << " " << mode;
    }
    for (size_t i = 0; i < whole.size(); ++i) {
        for (const uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
            std::vector<uint8_t> flipped = whole;
            flipped[i] = value;
            for (const uint32_t mode : kModes) LoadAll(flipped, mode);
        }
    }
}

TEST(UdfBinaryDamage, NoNodeIsOwnedTwiceAndLinkCyclesEnd) {
    FileBuilder f;
    f.Header();
    const uint32_t root = f.Position();
    const uint32_t a = root + 49;  // the area of "A", after the root's directory
    f.U32(0).U32(2).Entry("A", UdfNode::kStruct, a, 200).Entry("Leaf", 0, 0, 4);
    ASSERT_EQ(f.Position() - root, a - root);
    f.U32(0).U32(6)
        .Entry("self", UdfNode::kStruct, a, 200)                    // owning itself
        .Entry("up", UdfNode::kStruct | UdfNode::kLink, a, 200)     // linking itself (as "A"), twice
        .Entry("up2", UdfNode::kStruct | UdfNode::kLink, a, 200)
        .Entry("again", 0, 0, 4)                                    // owned already by the root
        .Entry("root", UdfNode::kStruct, root, 100)                 // the root's area
        .Entry("A", 0, 0, 8);                                       // a name used twice
    f.Finish();
    for (const uint32_t mode : kModes) {
        UdfReader reader;
        std::unique_ptr<UdfNode> top = reader.OpenMemory(f.bytes.data(), static_cast<uint32_t>(f.bytes.size()));
        ASSERT_NE(top, nullptr);
        reader.LoadNode(*top, mode, 0);
        const UdfNode* nodeA = top->FindChild("A");
        ASSERT_NE(nodeA, nullptr);
        EXPECT_EQ(nodeA->FindChild("self"), nullptr);
        EXPECT_EQ(nodeA->FindChild("A"), nodeA);  // a shared node keeps its own name
        EXPECT_TRUE(nodeA->IsLinked("A"));
        EXPECT_EQ(nodeA->ChildCount(), 2u);  // "A" and "root"
        ASSERT_NE(nodeA->FindChild("root"), nullptr);  // a new node over the root's bytes
        EXPECT_EQ(nodeA->FindChild("root")->ChildCount(), 0u);  // its entries are owned above it
    }
}

TEST(UdfBinaryDamage, RereadDirectoriesAndHugeFieldsStayBounded) {
    // Unmapped (size 0) structs that point back at the root's directory, three times over.
    FileBuilder f;
    f.Header();
    const uint32_t root = f.Position();
    f.U32(0).U32(4)
        .Entry("a", UdfNode::kStruct, root, 0)
        .Entry("b", UdfNode::kStruct, root, 0)
        .Entry("c", UdfNode::kStruct, root, 0)
        .Entry("big", 0, 0, 0xFFFFFFF0);  // a leaf larger than the file
    f.U32(0xFFFFFFFF);                    // a string length no file holds
    f.Finish();
    for (const uint32_t mode : kModes) {
        EXPECT_LE(LoadAll(f.bytes, mode), f.bytes.size() / 17 + 2) << mode;
    }
    UdfReader reader;
    std::unique_ptr<UdfNode> top = reader.OpenMemory(f.bytes.data(), static_cast<uint32_t>(f.bytes.size()));
    reader.LoadNode(*top, 0, 0);
    EXPECT_FALSE(top->FindChild("big")->DataPresent());

    // A root length beyond the file is held to the file's end.
    FileBuilder g;
    g.U32(0).Str("UDF Binary 1.0").U32(0).U32(0xFFFFFF00);
    g.U32(0).U32(1).Entry("x", 0, 0, 4);
    for (const uint32_t mode : kModes) EXPECT_EQ(LoadAll(g.bytes, mode), 2u) << mode;
}

// Leaves whose areas overlap, each starting one byte later and running to the end: read as
// they claim, every entry would hold most of the file.
TEST(UdfBinaryDamage, OverlappingAreasReadInProportionToTheFile) {
    constexpr uint32_t kEntries = 300;
    constexpr uint32_t kPadding = 60000;
    FileBuilder f;
    f.Header();
    f.U32(0).U32(kEntries);
    const uint32_t end = f.Position() + kEntries * 22 + kPadding;  // 22 bytes an entry of a 4-letter name
    for (uint32_t i = 0; i < kEntries; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "e%03u", i);
        f.Entry(name, 0, i, end - i);
    }
    f.bytes.resize(end, 0x5A);
    f.Finish();
    const uint64_t allowed = (1u << 20) + 64ull * f.bytes.size();
    for (const uint32_t mode : {0x00u, 0x10u, 0x40u}) {
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenMemory(f.bytes.data(), static_cast<uint32_t>(f.bytes.size()));
        ASSERT_NE(root, nullptr);
        reader.LoadNode(*root, mode, 0);
        ASSERT_EQ(root->ChildCount(), kEntries);
        uint64_t held = 0;
        uint32_t withData = 0;
        for (const auto& entry : root->Children()) {
            if (!entry.node->DataPresent()) continue;
            ++withData;
            held += entry.node->Size();
        }
        EXPECT_LE(held, allowed) << mode;
        EXPECT_GT(withData, 10u) << mode;  // the first ones still load whole
    }
}

TEST(UdfBinaryDamage, SelfContainingTypesAndHugeCountsExpandBoundedly) {
    FileBuilder f;
    f.U32(0).Str("UDF Binary 1.0").U32(3);
    f.Str("Loop").U32(2).Str("inner").Str("Loop").U8(0).Str("pad").Str("char").U8(0);
    f.Str("Ring").U32(2).Str("next").Str("Ring").U8(1).U32(0xFFFFFFFF).Str("x").Str("int").U8(0);
    f.Str("Many").U32(1).Str("v").Str("int").U8(1).U32(0x7FFFFFFF);
    const uint32_t rootLength = f.Position();
    f.U32(0);
    const uint32_t areas = f.Position() + 78;  // after the root's directory
    f.U32(0).U32(3);
    f.Str("l").Str("Loop").U8(0).U32(areas).U32(8);
    f.Str("r").Str("Ring").U8(0).U32(areas + 8).U32(8);
    f.Str("m").Str("Many").U8(UdfNode::kArray).U32(0xFFFFFFFF).U32(areas + 16).U32(8);
    ASSERT_EQ(f.Position(), areas);
    for (int i = 0; i < 24; ++i) f.U8(static_cast<uint8_t>(i));
    f.Finish(rootLength);
    for (const uint32_t mode : {0x08u, 0xC8u}) {
        UdfReader reader;
        std::unique_ptr<UdfNode> top = reader.OpenMemory(f.bytes.data(), static_cast<uint32_t>(f.bytes.size()));
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(reader.TypeTable().StructSize("Loop"), 1u);  // its inner self counts 0
        reader.LoadNode(*top, mode, UdfReader::kExpandBasicArrays);
        // A loop of 1-byte types nests until the depth limits; nothing else grows.
        EXPECT_LE(CountNodes(*top), 1000u);
        EXPECT_EQ(top->FindChild("r")->ChildCount(), 2u);
        EXPECT_LE(top->FindChild("m")->ChildCount(), 1u);  // no room for even one element
    }
}
