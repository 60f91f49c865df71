#include <gtest/gtest.h>

#include "support/Printers.h"
#include "udf/UdfTextNode.h"

TEST(UdfTextNode, ConvertsValuesLikeStrtod) {
    struct Case {
        const char* text;
        int32_t asInt;
        double asReal;
    };
    const Case cases[] = {
        {"12.9", 12, 12.9}, {"-3.7", -3, -3.7}, {"12px", 0, 12.0},  {" 7", 7, 7.0},    {"1e3", 1000, 1000.0},
        {"0x1F", 0, 0.0},   {"", 0, 0.0},       {"+.5e1", 5, 5.0},  {"1e", 0, 1.0},    {"inf", 0, 0.0},
        {"nan", 0, 0.0},    {".", 0, 0.0},      {"5.", 5, 5.0},     {"-0", 0, 0.0},    {"1e10", INT32_MIN, 1e10},
    };
    for (const Case& c : cases) {
        UdfTextNode node;
        node.SetValue(c.text);
        EXPECT_EQ(node.AsInt(), c.asInt) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(node.AsReal(), c.asReal) << '"' << c.text << '"';
        EXPECT_EQ(node.AsString(), c.text);
    }
}

TEST(UdfTextNode, KeepsInsertionOrderAndExactNames) {
    UdfTextNode root;
    for (const char* name : {"b", "a", "B", "10", "2"}) root.AddChild(name, std::make_unique<UdfTextNode>());
    EXPECT_EQ(root.AddChild("a", std::make_unique<UdfTextNode>()), nullptr);  // names are unique
    std::string order;
    for (const auto& entry : root.Children()) order += entry.node->Name().c_str() + std::string(",");
    EXPECT_EQ(order, "b,a,B,10,2,");
    EXPECT_EQ(root.ChildCount(), 5u);
    EXPECT_NE(root.FindChild("B"), root.FindChild("b"));
    EXPECT_EQ(root.FindChild("A"), nullptr);
    EXPECT_EQ(root.ChildCount(), 5u);  // looking up never creates
}

TEST(UdfTextNode, CopyFromIsDeepAndSafeWhenTheSourceIsInsideOrAbove) {
    UdfTextNode root;
    UdfTextNode* a = root.AddChild("a", std::make_unique<UdfTextNode>());
    a->SetKind(UdfTextNode::kObject);
    a->SetNextIndex(3);
    UdfTextNode* b = a->AddChild("b", std::make_unique<UdfTextNode>());
    b->SetValue("deep");
    b->AddChild("c", std::make_unique<UdfTextNode>())->SetValue("deeper");

    UdfTextNode* copy = root.AddChild("copy", std::make_unique<UdfTextNode>());
    copy->CopyFrom(*a);
    EXPECT_EQ(copy->Name(), "copy");
    EXPECT_EQ(copy->Kind(), UdfTextNode::kObject);
    EXPECT_EQ(copy->NextIndex(), 3);
    ASSERT_NE(copy->FindChild("b"), nullptr);
    EXPECT_NE(copy->FindChild("b"), b);
    EXPECT_EQ(copy->FindChild("b")->FindChild("c")->Value(), "deeper");

    b->CopyFrom(*a);  // the source holds the target: a snapshot is taken
    ASSERT_NE(b->FindChild("b"), nullptr);
    EXPECT_EQ(b->FindChild("b")->Value(), "deep");
    EXPECT_EQ(b->FindChild("b")->FindChild("c")->Value(), "deeper");
    EXPECT_EQ(b->FindChild("c"), nullptr);
    a->CopyFrom(*a->FindChild("b"));  // the source dies with the children it replaces
    ASSERT_NE(a->FindChild("b"), nullptr);
    EXPECT_EQ(a->FindChild("b")->FindChild("c")->Value(), "deeper");
}

TEST(UdfTextNode, DestroysVeryDeepTreesWithoutRecursing) {
    auto root = std::make_unique<UdfTextNode>();
    UdfTextNode* node = root.get();
    for (int i = 0; i < 100000; ++i) node = node->AddChild("n", std::make_unique<UdfTextNode>());
    UdfTextNode copy;
    copy.CopyFrom(*root);
    root.reset();
    SUCCEED();
}
