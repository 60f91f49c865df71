#include <gtest/gtest.h>

#include "resources/MemoryStream.h"
#include "support/Printers.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "udf/UdfTextParser.h"

using testing_support::ScopedWorkingDir;
using testing_support::WriteTestFile;

namespace {

bool Parse(const std::string& text, UdfTextNode& root, const FileSearchList* searchList = nullptr) {
    MemoryStream stream;
    stream.Refer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
    stream.Open(nullptr, DataStream::kRead);
    return ParseUdfText(stream, root, searchList);
}

// Walks "a/b/c" through children; fails the test when a step is missing.
const UdfTextNode& At(const UdfTextNode& root, const std::string& path) {
    const UdfTextNode* node = &root;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string name = path.substr(start, end - start);
        node = node->FindChild(name);
        if (!node) throw std::runtime_error("missing " + path);
        start = end + 1;
    }
    return *node;
}

std::string Names(const UdfTextNode& node) {
    std::string names;
    for (const auto& entry : node.Children()) names += std::string(entry.name.c_str()) + "|";
    return names;
}

std::string Values(const UdfTextNode& node) {
    std::string values;
    for (const auto& entry : node.Children()) values += std::string(entry.node->Value().c_str()) + "|";
    return values;
}

}  // namespace

TEST(UdfTextParser, ReadsTheSampleSettings) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("Ambient = array(255,255,255);\r\nNearPlane = 0.1;\n"
                      "Animations = array(\"c1.cam\", \"c2.cam\", \"c3.cam\", \"c4.cam\", \"c5.cam\",\n"
                      "  \"c6.cam\", \"c7.cam\", \"c8.cam\", \"c9.cam\", \"c10.cam\");\n",
                      root));
    const UdfTextNode& ambient = At(root, "Ambient");
    EXPECT_EQ(ambient.Kind(), UdfTextNode::kArray);
    EXPECT_EQ(Names(ambient), "0|1|2|");
    EXPECT_EQ(Values(ambient), "255|255|255|");
    EXPECT_EQ(At(root, "NearPlane").Value(), "0.1");
    EXPECT_EQ(At(root, "Animations").ChildCount(), 10u);
    EXPECT_EQ(At(root, "Animations/9").Value(), "c10.cam");
    EXPECT_EQ(Names(root), "Ambient|NearPlane|Animations|");
}

TEST(UdfTextParser, LineBreaksVanishAndCommentsRunToTheLineEnd) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("n = 12\n3;\n"
                      "Sizes = array(   // opening\n"
                      "  1, 2, // first row\n"
                      "  3, 4  // second row\n"
                      ");\n"
                      "Rows = array(12, 13\n   13, 14);\n"
                      "a/b = 1;\n",
                      root));
    EXPECT_EQ(At(root, "n").Value(), "123");
    EXPECT_EQ(Values(At(root, "Sizes")), "1|2|3|4|");
    // A row without its comma joins the next: not a number, so a path, and a root child.
    const UdfTextNode& rows = At(root, "Rows");
    EXPECT_EQ(rows.ChildCount(), 3u);
    EXPECT_EQ(At(root, "Rows/1").Value(), "");
    EXPECT_NE(root.FindChild("13   13"), nullptr);
    EXPECT_NE(root.FindChild("a/b"), nullptr);  // one slash is an ordinary character
}

TEST(UdfTextParser, TwoSlashesInsideQuotesStillStartAComment) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("x = \"a//b\";\ny = 1;\nz = 2\";\nw = 3;", root));
    // The comment took the closing quote; the open quote swallowed the next lines up to the next
    // quote, and ";" inside it did not end the statement.
    EXPECT_EQ(At(root, "x").Value(), "ay = 1;z = 2");
    EXPECT_EQ(root.FindChild("y"), nullptr);
    EXPECT_EQ(At(root, "w").Value(), "3");
}

TEST(UdfTextParser, QuotesKeepBackslashesAndProtectOperators) {
    UdfTextNode root;
    // In e the reader sees an escaped quote where the unquoting sees a doubled backslash.
    ASSERT_TRUE(Parse("a = \"a\\\"b\"; b = 'it'; c = \"a=b\"; d => 5; e = \"x\\\\\"\"; \"lonely\"; "
                      "g = 'q\\'s' tail;",
                      root));
    EXPECT_EQ(At(root, "a").Value(), "a\\\"b");
    EXPECT_EQ(At(root, "b").Value(), "it");
    EXPECT_EQ(At(root, "c").Value(), "a=b");
    EXPECT_EQ(At(root, "d").Value(), "5");
    EXPECT_EQ(At(root, "e").Value(), "x\\\\");
    EXPECT_EQ(At(root, "g").Value(), "q\\'s");
    EXPECT_EQ(root.ChildCount(), 6u);  // the lone quoted text without a context is ignored
}

TEST(UdfTextParser, NumbersVersusPaths) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("Src = object(v = 7, array(1, 2)); x = 5 6; y = -1.5e2; Flag = true; Copy = Src; h = 0x10;",
                      root));
    EXPECT_EQ(At(root, "x").Value(), "");
    EXPECT_NE(root.FindChild("5 6"), nullptr);
    EXPECT_EQ(At(root, "y").Value(), "-1.5e2");
    EXPECT_EQ(At(root, "Flag").Value(), "");
    EXPECT_EQ(At(root, "Flag").Kind(), UdfTextNode::kScalar);
    EXPECT_NE(root.FindChild("true"), nullptr);
    EXPECT_NE(root.FindChild("0x10"), nullptr);  // hexadecimal is a path too
    const UdfTextNode& copy = At(root, "Copy");
    EXPECT_EQ(copy.Kind(), UdfTextNode::kObject);
    EXPECT_EQ(Names(copy), "v|0|");
    EXPECT_EQ(Values(At(root, "Copy/0")), "1|2|");
    EXPECT_NE(&At(root, "Copy/v"), &At(root, "Src/v"));
}

TEST(UdfTextParser, ArraysAndObjectsByPrefix) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("a = array(); b = array; c = arrayish; d = array('a', 'b'); e = object(w = 1, 2, h = 3);"
                      "f = array(1, , 2, ); g = array(array(1, 2), array(3)); old = 5; old = array(1);",
                      root));
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_EQ(At(root, name).Kind(), UdfTextNode::kArray) << name;
        EXPECT_EQ(At(root, name).ChildCount(), 0u) << name;
    }
    EXPECT_EQ(Values(At(root, "d")), "a|b|");
    EXPECT_EQ(At(root, "e").Kind(), UdfTextNode::kObject);
    EXPECT_EQ(Names(At(root, "e")), "w|0|h|");
    EXPECT_EQ(Values(At(root, "f")), "1||2|");  // a blank between commas is an element; the end is trimmed
    EXPECT_EQ(Values(At(root, "g/0")), "1|2|");
    EXPECT_EQ(Values(At(root, "g/1")), "3|");
    EXPECT_EQ(At(root, "old").Value(), "5");  // an array keeps the old scalar text
    EXPECT_EQ(Values(At(root, "old")), "1|");
}

TEST(UdfTextParser, PathsWithDotsAndBrackets) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("Styles[0].Size = 64; a[0][1] = 2; b[ 3 ] = x; [k] = 4; c.d.e = 1; c.d = 2;", root));
    EXPECT_EQ(At(root, "Styles").Kind(), UdfTextNode::kArray);
    EXPECT_EQ(At(root, "Styles/0").Kind(), UdfTextNode::kObject);
    EXPECT_EQ(At(root, "Styles/0/Size").Value(), "64");
    EXPECT_EQ(At(root, "a").Kind(), UdfTextNode::kArray);
    EXPECT_EQ(At(root, "a/0").Kind(), UdfTextNode::kArray);
    EXPECT_EQ(At(root, "a/0/1").Value(), "2");
    EXPECT_NE(root.FindChild("b")->FindChild("3"), nullptr);
    EXPECT_EQ(At(root, "k").Value(), "4");
    EXPECT_EQ(At(root, "c/d").Value(), "2");
    EXPECT_EQ(At(root, "c/d").ChildCount(), 0u);  // reassigning clears the children
}

TEST(UdfTextParser, UsingNamesElementsInItsContext) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("using Cfg; 10; 20; using; 30; Other.0 = a; using Other; b; using Deep.Er; 1; Deep = 0; 2;",
                      root));
    EXPECT_EQ(At(root, "Cfg").Kind(), UdfTextNode::kObject);
    EXPECT_EQ(Values(At(root, "Cfg")), "10|20|");
    EXPECT_EQ(Names(At(root, "Cfg")), "0|1|");
    EXPECT_EQ(root.FindChild("30"), nullptr);  // no context: ignored
    EXPECT_EQ(Names(At(root, "Other")), "0|1|");  // "0" was taken, so the next is "1"
    EXPECT_EQ(At(root, "Other/1").Value(), "");  // b is a path
    // Paths resolve from the context too.
    EXPECT_EQ(Names(At(root, "Deep/Er")), "0|Deep|1|");
    EXPECT_EQ(At(root, "Deep/Er/Deep").Value(), "0");
}

TEST(UdfTextParser, StopsAtAnEmptyStatementAndRejectsEmptyFiles) {
    UdfTextNode root;
    ASSERT_TRUE(Parse("a = 1;; b = 2;", root));
    EXPECT_NE(root.FindChild("a"), nullptr);
    EXPECT_EQ(root.FindChild("b"), nullptr);
    UdfTextNode empty;
    EXPECT_FALSE(Parse("", empty));
    EXPECT_TRUE(Parse(" ; a = 1;", empty));  // a blank statement is not empty
    EXPECT_NE(empty.FindChild("a"), nullptr);
    EXPECT_TRUE(Parse("x = \"unterminated; y = 2;", empty));
    EXPECT_EQ(At(empty, "x").Value(), "\"unterminated; y = 2;");
}

TEST(UdfTextParser, IncludesFilesThroughTheSearchList) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    WriteTestFile(dir.path(), "inc/common.txt", "Shared = 1; using Inner; 7;");
    WriteTestFile(dir.path(), "inc/self.txt", "n = 1; include(\"inc/self.txt\");");
    WriteTestFile(dir.path(), "empty.txt", "");
    FileSearchList list;
    list.Add(FileSource("inc"));
    UdfTextNode root;
    ASSERT_TRUE(Parse("using Ctx; include(\"common.txt\"); 5; include( \"missing.txt\" );", root, &list));
    EXPECT_EQ(At(root, "Shared").Value(), "1");
    EXPECT_EQ(Values(At(root, "Inner")), "7|");
    // The included file had its own context; this file's goes on, and a failed include is an element.
    EXPECT_EQ(Names(At(root, "Ctx")), "0|1|");
    EXPECT_EQ(At(root, "Ctx/0").Value(), "5");
    EXPECT_NE(root.FindChild("include( \"missing"), nullptr);  // the element's path value

    UdfTextNode again;
    EXPECT_FALSE(Parse("include(\"empty.txt\"); a = 1;", again, &list));  // an included empty file is false
    EXPECT_NE(again.FindChild("a"), nullptr);
    // An included file destroys the node of this file's context: the context lapses.
    WriteTestFile(dir.path(), "inc/kill.txt", "Ctx = 1;");
    UdfTextNode lapse;
    ASSERT_TRUE(Parse("using Ctx.In; 4; include(\"kill.txt\"); 5;", lapse, &list));
    EXPECT_EQ(At(lapse, "Ctx").Value(), "1");
    EXPECT_EQ(At(lapse, "Ctx").ChildCount(), 0u);

    UdfTextNode loop;
    EXPECT_TRUE(Parse("include(\"inc/self.txt\");", loop));  // stops at a fixed depth
    EXPECT_EQ(At(loop, "n").Value(), "1");
}
