#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "support/Printers.h"
#include "udf/UdfNode.h"

TEST(UdfNode, TypedLeavesAndTheirAccessors) {
    const UdfNode i("i", int32_t{-5});
    EXPECT_EQ(i.TypeName(), "int");
    EXPECT_EQ(i.Size(), 4u);
    EXPECT_EQ(i.AsInt(), -5);
    EXPECT_TRUE(i.Loaded() && i.DataPresent());
    const UdfNode r("r", 1.5f);
    EXPECT_EQ(r.TypeName(), "real");
    EXPECT_EQ(r.AsReal(), 1.5f);
    const UdfNode s("s", EngineString("text"));
    EXPECT_EQ(s.TypeName(), "string");
    EXPECT_EQ(s.Size(), 4u);
    EXPECT_EQ(s.AsString(), "text");
    const UdfNode u("u", std::u16string_view(u"\u00e9t\u00e9"));
    EXPECT_EQ(u.TypeName(), "ustring");
    EXPECT_EQ(u.Size(), 6u);
    EXPECT_EQ(u.AsUString(), u"\u00e9t\u00e9");
    EXPECT_EQ(u.Data()[0], 0xE9);  // little-endian units

    const uint8_t two[2] = {1, 2};
    EXPECT_EQ(UdfNode("short", "int", two, 2, true).AsInt(), 0);
    uint8_t eight[8] = {};
    const float half = 0.5f;
    std::memcpy(eight, &half, 4);
    eight[4] = 0xFF;
    EXPECT_EQ(UdfNode("long", "real", eight, 8, true).AsReal(), 0.5f);

    UdfNode array("a", "Sample", 31);
    EXPECT_EQ(array.Flags(), UdfNode::kArray);
    EXPECT_EQ(array.Count(), 31u);
    EXPECT_FALSE(array.Loaded() || array.DataPresent());
    EXPECT_EQ(array.AsInt(), 0);
    EXPECT_EQ(array.AsString(), "");
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_FALSE(array.CopyData(buffer, 4));
    std::unique_ptr<uint8_t[]> copy;
    uint32_t size = 7;
    EXPECT_FALSE(array.TakeCopy(copy, size));

    EXPECT_TRUE(s.CopyData(buffer, 2));
    EXPECT_EQ(buffer[0], 't');
    EXPECT_EQ(buffer[2], 9);  // min(length, size)
    ASSERT_TRUE(s.TakeCopy(copy, size));
    EXPECT_EQ(size, 4u);
    EXPECT_NE(copy.get(), s.Data());
    ASSERT_TRUE(UdfNode("e", "", nullptr, 0, true).TakeCopy(copy, size));
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(copy, nullptr);  // size 0 gives no buffer
}

TEST(UdfNode, AddingNeverOverwritesAndMakesAStruct) {
    UdfNode root;
    UdfNode* x = root.AddString("x", "keep");
    EXPECT_EQ(root.Flags(), UdfNode::kStruct);
    EXPECT_EQ(root.AddInt("x", 5), x);
    EXPECT_EQ(x->TypeName(), "string");
    EXPECT_EQ(x->AsString(), "keep");
    EXPECT_EQ(x->Parent(), &root);
    root.AddReal("b", 2.0f);
    root.AddArray("a", "Material", 2);
    const uint8_t raw[3] = {1, 2, 3};
    UdfNode* referred = root.AddData("raw", "", raw, 3, false);
    EXPECT_EQ(referred->Data(), raw);  // without copy the node refers to the bytes
    EXPECT_TRUE(referred->DataExternal());
    std::string order;
    for (const auto& entry : root.Children()) order += entry.name.c_str() + std::string(" ");
    EXPECT_EQ(order, "x b a raw ");
    EXPECT_FALSE(root.Load(0));  // built in memory: no reader
}

TEST(UdfNode, ALinkedChildIsDestroyedOnceThroughItsOwner) {
    auto root = std::make_unique<UdfNode>();
    UdfNode* owner = root->AddArray("Owner", "Node", 0);
    UdfNode* other = root->AddArray("Other", "Node", 0);
    UdfNode* shared = owner->AddInt("Shared", 7);
    ASSERT_TRUE(other->Attach(shared, true));
    EXPECT_FALSE(other->Attach(shared, true));  // the name is taken
    EXPECT_TRUE(other->IsLinked(shared));
    EXPECT_TRUE(other->IsLinked("Shared"));
    EXPECT_FALSE(owner->IsLinked(shared));
    EXPECT_EQ(shared->Parent(), owner);
    EXPECT_EQ(other->FindChild("Shared"), shared);
    root.reset();  // a second destruction would be a double free under the sanitizer
}

TEST(UdfNode, DetachKeepsTheNodeAndSharedBytesStayTheParents) {
    UdfNode parent;
    auto block = std::make_unique<uint8_t[]>(8);
    parent.TakeData(std::move(block), 8);
    UdfNode* child = parent.AddData("slice", "", nullptr, 0, false);
    child->ReferToData(parent.Data() + 4, 4, true);
    EXPECT_TRUE(child->DataShared());
    std::unique_ptr<UdfNode> detached(parent.Detach("slice"));
    ASSERT_EQ(detached.get(), child);
    EXPECT_EQ(detached->Parent(), nullptr);
    EXPECT_EQ(parent.ChildCount(), 0u);
    parent.FreeData();  // the parent's block goes first
    detached.reset();   // the slice is never freed by the child
    EXPECT_EQ(parent.Detach("slice"), nullptr);
}
