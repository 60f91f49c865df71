#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "TreeJson.h"
#include "resources/DiskStream.h"
#include "support/Files.h"
#include "support/Printers.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "udf/UdfReader.h"
#include "udf/UdfWriter.h"

using testing_support::Bytes;

namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

std::vector<uint8_t> Pattern(uint32_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

std::vector<uint8_t> Save(const std::vector<UdfNode*>& top, const std::vector<UdfTypeDef>* types = nullptr,
                          uint32_t flags = 0) {
    TempDir dir;
    const std::string path = dir.path() + "/out.udf";
    EXPECT_TRUE(UdfWriter().Save(path.c_str(), top, types, flags));
    return Bytes(ReadFile(path));
}

std::vector<UdfNode*> TopNodes(const UdfNode& root) {
    std::vector<UdfNode*> top;
    for (const auto& entry : root.Children()) top.push_back(entry.node);
    return top;
}

// The camera file "c1.cam": eight 32-byte leaves of types "rot" and "pos" in this order.
std::unique_ptr<UdfNode> CameraTree() {
    auto root = std::make_unique<UdfNode>();
    uint8_t seed = 1;
    for (const char* name : {"rot3", "pos0", "rot0", "pos1", "rot1", "pos2", "rot2", "pos3"}) {
        const std::vector<uint8_t> key = Pattern(32, seed++);
        root->AddData(name, name[0] == 'r' ? "rot" : "pos", key.data(), 32, true);
    }
    return root;
}

// A scene-like tree: arrays of structs (flags 0x05), raw blocks, typed leaves, and links whose
// owner is written before and after them.
std::unique_ptr<UdfNode> SceneTree() {
    auto root = std::make_unique<UdfNode>();
    UdfNode* early = root->AddArray("Links", "Node", 0);  // links to a node owned later
    UdfNode* materials = root->AddArray("Materials", "Material", 2);
    for (int m = 0; m < 2; ++m) {
        UdfNode* material = materials->AddArray(EngineString(int32_t{m}, 10), "Material", 0);
        material->SetFlags(UdfNode::kStruct);
        material->AddString("Name", m == 0 ? "wood" : "glass");
        material->AddReal("Alpha", 0.25f * m);
        material->AddInt("Stages", m + 1);
    }
    UdfNode* children = root->AddArray("Children", "Node", 0);
    children->SetFlags(UdfNode::kStruct);
    UdfNode* mesh = children->AddArray("Mesh", "Node", 0);
    mesh->SetFlags(UdfNode::kStruct);
    const std::vector<uint8_t> verts = Pattern(1000, 3);
    mesh->AddData("Verts", "", verts.data(), 1000, true);
    UdfNode* keys = mesh->AddArray("Rotation", "Sample", 3);
    for (int k = 0; k < 3; ++k) {
        const std::vector<uint8_t> key = Pattern(32, static_cast<uint8_t>(k));
        keys->AddData(EngineString(int32_t{k}, 10), "AniKey", key.data(), 32, true);
    }
    mesh->AddData("Empty", "", nullptr, 0, true);
    early->Attach(mesh->FindChild("Verts"), true);
    children->Attach(materials->FindChild("1"), true);  // owner written earlier
    return root;
}

// Name, fields, link flags and leaf bytes of the whole tree, in order.
std::string Describe(const UdfNode& node) {
    std::string text = std::string(node.Name().c_str()) + ":" + node.TypeName().c_str() + ":" +
                       std::to_string(node.Flags()) + ":" + std::to_string(node.Count()) + ":" +
                       std::to_string(node.FileOffset()) + ":" + std::to_string(node.Size());
    if (!(node.Flags() & UdfNode::kStruct)) {
        text += node.DataPresent() ? "=" + std::string(reinterpret_cast<const char*>(node.Data()), node.Size()) : "!";
    }
    text += "{";
    for (const auto& entry : node.Children()) {
        text += entry.linked ? "->" + std::string(entry.name.c_str()) + ";" : Describe(*entry.node);
    }
    return text + "}";
}

// Loads `bytes` fully with `mode` and describes the tree; "no root" when there is none.
std::string LoadAndDescribe(const std::vector<uint8_t>& bytes, uint32_t mode, uint32_t expand = 0) {
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!root) return "no root";
    reader.LoadNode(*root, mode, expand);
    return Describe(*root);
}

}  // namespace

TEST(UdfBinary, WritesTheCameraLayoutAndReadsItBackByteForByte) {
    const std::unique_ptr<UdfNode> tree = CameraTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    ASSERT_EQ(bytes.size(), 486u);
    EXPECT_EQ(U32At(bytes, 0), 486u);
    EXPECT_EQ(U32At(bytes, 4), 14u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 22), "UDF Binary 1.0");
    EXPECT_EQ(U32At(bytes, 22), 0u);   // no type definitions
    EXPECT_EQ(U32At(bytes, 26), 460u);  // root length, counting itself
    EXPECT_EQ(U32At(bytes, 30), 200u);  // directory size
    EXPECT_EQ(U32At(bytes, 34), 8u);
    EXPECT_EQ(tree->FindChild("rot3")->Parent(), tree.get());  // the writer gave the parents back

    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), "_root");
    EXPECT_EQ(root->TypeName(), "_roottype");
    EXPECT_EQ(root->Flags(), UdfNode::kStruct);
    EXPECT_EQ(root->FileOffset(), 30u);
    EXPECT_EQ(root->Size(), 456u);  // the root length less its own field: the area ends with the file
    ASSERT_TRUE(root->Load(0));
    uint32_t area = 230;
    for (const auto& entry : root->Children()) {
        EXPECT_EQ(entry.node->FileOffset(), area) << entry.name.c_str();
        EXPECT_EQ(entry.node->Size(), 32u);
        EXPECT_EQ(entry.node->Flags(), 0);
        area += 32;
    }
    EXPECT_EQ(root->FindChild("pos2")->TypeName(), "pos");
    EXPECT_EQ(Save(TopNodes(*root)), bytes);
    EXPECT_EQ(Save(TopNodes(*root), nullptr, UdfWriter::kInMemory), bytes);
}

TEST(UdfBinary, EveryModeLoadsTheSameTree) {
    const std::unique_ptr<UdfNode> tree = SceneTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    const std::string expected = LoadAndDescribe(bytes, 0);
    EXPECT_NE(expected.find("Verts::0:0:"), std::string::npos) << expected;
    for (const uint32_t mode : {0x10u, 0x20u, 0x40u, 0x50u, 0x80u, 0x90u, 0xC0u, 0xD0u}) {
        EXPECT_EQ(LoadAndDescribe(bytes, mode), expected) << "mode " << mode;
    }
    // Through a disk stream as well.
    TempDir dir;
    const std::string path = testing_support::WriteTestFile(dir.path(), "scene.udf", bytes);
    DiskStream stream;
    ASSERT_TRUE(stream.Open(path.c_str(), DataStream::kRead));
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenStream(stream);
    ASSERT_NE(root, nullptr);
    root->Load(0);
    EXPECT_EQ(Describe(*root), expected);
}

TEST(UdfBinary, AreaModesKeepCopyOrPointIntoTheParent) {
    const std::unique_ptr<UdfNode> tree = SceneTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    for (const uint32_t mode : {0x40u, 0xC0u}) {
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_TRUE(root->Load(mode));
        // The root keeps its area too: it ends where the file ends.
        ASSERT_TRUE(root->DataPresent());
        EXPECT_EQ(root->FileOffset() + root->Size(), bytes.size());
        EXPECT_EQ(root->Data()[root->Size() - 1], bytes.back());
        const UdfNode* rotation = root->FindChild("Children")->FindChild("Mesh")->FindChild("Rotation");
        const UdfNode* key = rotation->FindChild("2");
        ASSERT_TRUE(rotation->DataPresent());  // the struct keeps its whole area
        EXPECT_EQ(rotation->FileOffset() + rotation->Size(), key->FileOffset() + 32);
        EXPECT_EQ(key->DataShared(), mode == 0xC0u);
        EXPECT_EQ(key->Data() == rotation->Data() + (key->FileOffset() - rotation->FileOffset()), mode == 0xC0u);
        EXPECT_EQ(std::memcmp(key->Data(), Pattern(32, 2).data(), 32), 0);
        // Loading again with a whole-area mode leaves the bytes the slices point into alone.
        ASSERT_TRUE(root->FindChild("Children")->Load(0xD0));
        EXPECT_EQ(std::memcmp(key->Data(), Pattern(32, 2).data(), 32), 0);
        root.reset();  // shared slices are the parents' to free
    }
}

TEST(UdfBinary, LinksLoadAsOneSharedNode) {
    const std::unique_ptr<UdfNode> tree = SceneTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(root->Load(0));
    UdfNode* children = root->FindChild("Children");
    UdfNode* mesh = children->FindChild("Mesh");
    // Owner written later: the link came first, the owning entry adopted the same node.
    UdfNode* verts = mesh->FindChild("Verts");
    EXPECT_EQ(root->FindChild("Links")->FindChild("Verts"), verts);
    EXPECT_TRUE(root->FindChild("Links")->IsLinked("Verts"));
    EXPECT_FALSE(mesh->IsLinked("Verts"));
    EXPECT_EQ(verts->Parent(), mesh);
    // Owner written earlier: both entries carry the owner's offset and size.
    UdfNode* material = root->FindChild("Materials")->FindChild("1");
    EXPECT_EQ(children->FindChild("1"), material);
    EXPECT_TRUE(children->IsLinked(material));
    EXPECT_EQ(material->FindChild("Name")->AsString(), "glass");
    EXPECT_EQ(material->FindChild("Alpha")->AsReal(), 0.25f);
    EXPECT_EQ(Save(TopNodes(*root)), bytes);  // links survive a round trip
}

TEST(UdfBinary, ALinkWhoseOwnerIsNeverWrittenKeepsItsPlaceholder) {
    UdfNode outside;
    outside.SetName("Outside");
    outside.SetFlags(UdfNode::kStruct);
    UdfNode holder;
    holder.SetName("Holder");
    holder.Attach(&outside, true);
    const std::vector<uint8_t> bytes = Save({&holder});
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("DataArea"), std::string::npos);
    // Loading finds a node that only a link reaches; the tree still frees it.
    EXPECT_NE(LoadAndDescribe(bytes, 0).find("->Outside;"), std::string::npos);
    holder.Detach(&outside);
}

TEST(UdfBinary, PartialModesStopWhereAsked) {
    const std::unique_ptr<UdfNode> tree = SceneTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(root->Load(UdfReader::kNoDescend));
    UdfNode* children = root->FindChild("Children");
    ASSERT_NE(children, nullptr);
    EXPECT_FALSE(children->Loaded());
    EXPECT_EQ(children->FindChild("Mesh"), nullptr);
    ASSERT_TRUE(children->Load(UdfReader::kOneLevel));
    UdfNode* mesh = children->FindChild("Mesh");
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->Loaded());  // its directory, not its children
    EXPECT_FALSE(mesh->FindChild("Verts")->DataPresent());
    ASSERT_TRUE(mesh->FindChild("Verts")->Load(0));
    EXPECT_EQ(mesh->FindChild("Verts")->Size(), 1000u);
    reader.Close();
    EXPECT_FALSE(mesh->FindChild("Rotation")->Load(0));  // a closed reader loads nothing more
    EXPECT_TRUE(mesh->FindChild("Verts")->DataPresent());
}

TEST(UdfBinary, AnyWrongMagicByteGivesNoRoot) {
    const std::unique_ptr<UdfNode> tree = CameraTree();
    const std::vector<uint8_t> bytes = Save(TopNodes(*tree));
    for (size_t i = 4; i < 22; ++i) {
        std::vector<uint8_t> wrong = bytes;
        wrong[i] ^= 0x20;
        UdfReader reader;
        EXPECT_EQ(reader.OpenMemory(wrong.data(), static_cast<uint32_t>(wrong.size())), nullptr) << i;
    }
}

TEST(UdfBinary, ExpandsLeavesThroughTheTypeTable) {
    const std::vector<UdfTypeDef> types = {
        {"Vec", {{"x", "real"}, {"y", "real"}, {"z", "real"}}},
        {"Key", {{"time", "int"}, {"pos", "Vec"}, {"tags", "char", true, 4}, {"m", "matrix"}}},
    };
    std::vector<uint8_t> key = Pattern(20, 9);
    const float one = 1.0f;
    std::memcpy(key.data() + 8, &one, 4);
    UdfNode single("Single", "Key", key.data(), 20, true);
    std::vector<uint8_t> two = key;
    two.insert(two.end(), key.begin(), key.end());
    UdfNode pair("Pair", "Key", two.data(), 40, true);
    pair.SetFlags(UdfNode::kArray);
    pair.SetCount(2);
    const int32_t ints[3] = {10, -20, 30};
    UdfNode list("List", "int", ints, 12, true);
    list.SetFlags(UdfNode::kArray);
    list.SetCount(3);
    UdfNode damaged("Damaged", "Key", two.data(), 30, true);  // says 5 elements, holds 1.5
    damaged.SetFlags(UdfNode::kArray);
    damaged.SetCount(5);
    const std::vector<uint8_t> bytes = Save({&single, &pair, &list, &damaged}, &types);

    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(reader.TypeTable().StructSize("Key"), 20u);  // "matrix" is unknown: 0
    EXPECT_EQ(reader.TypeTable().Find("Key")->members[2].count, 4u);
    ASSERT_TRUE(reader.LoadNode(*root, UdfReader::kExpand, UdfReader::kExpandBasicArrays));
    const UdfNode* s = root->FindChild("Single");
    EXPECT_EQ(s->Flags() & UdfNode::kStruct, UdfNode::kStruct);
    EXPECT_EQ(s->FindChild("pos")->FindChild("y")->AsReal(), 1.0f);
    EXPECT_EQ(s->FindChild("tags")->Size(), 4u);
    EXPECT_EQ(s->FindChild("tags")->ChildCount(), 4u);  // a basic array, expanded with flag 0x01
    EXPECT_FALSE(s->FindChild("m")->DataPresent());
    EXPECT_EQ(root->FindChild("Pair")->FindChild("1")->FindChild("time")->AsInt(),
              s->FindChild("time")->AsInt());
    EXPECT_EQ(root->FindChild("List")->FindChild("1")->AsInt(), -20);
    // Elements stop at the first that does not fit.
    EXPECT_EQ(root->FindChild("Damaged")->ChildCount(), 2u);
    EXPECT_FALSE(root->FindChild("Damaged")->FindChild("1")->DataPresent());

    UdfNode again("Single", "Key", key.data(), 20, true);
    // False: the "matrix" member gets no bytes. The others point into the leaf.
    EXPECT_FALSE(reader.ExpandLeaf(again, UdfReader::kExpandShare | UdfReader::kExpandOneLevel));
    EXPECT_TRUE(again.FindChild("pos")->DataShared());
    EXPECT_EQ(again.FindChild("pos")->ChildCount(), 0u);
    EXPECT_FALSE(reader.ExpandLeaf(again, 0));  // already a struct
    UdfNode unknown("u", "Nothing", key.data(), 20, true);
    EXPECT_FALSE(reader.ExpandLeaf(unknown, 0));
    EXPECT_TRUE(reader.ExpandLeaf(list, 0));  // basic arrays only with 0x01
    EXPECT_EQ(list.ChildCount(), 0u);
}

TEST(UdfBinary, SaveReportsAnOutputItCannotOpen) {
    const std::unique_ptr<UdfNode> tree = CameraTree();
    EXPECT_FALSE(UdfWriter().Save("/nonexistent-dir/x.udf", TopNodes(*tree), nullptr, 0));
    EXPECT_FALSE(UdfWriter().Save("/nonexistent-dir/x.udf", TopNodes(*tree), nullptr, UdfWriter::kInMemory));
}
