// The udftool program, run as people who make media run it.
#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/Shell.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "udf/UdfWriter.h"

using testing_support::ShellQuote;
using testing_support::WriteTestFile;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class UdfTool : public ::testing::Test {
protected:
    ToolRun Tool(const std::string& args) {
        const std::string errPath = dir_.path() + "/stderr.txt";
        auto [status, out] = testing_support::RunShell(std::string(UDFTOOL_PATH) + " " + args + " 2>" + ShellQuote(errPath));
        return {status, out, ReadFile(errPath)};
    }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }
    std::string Quoted(const std::string& name) const { return ShellQuote(Path(name)); }

    TempDir dir_;
};

}  // namespace

TEST_F(UdfTool, PacksListsAndExtractsArchives) {
    WriteTestFile(dir_.path(), "tree/Media/Scene.props", "NearPlane = 0.1;");
    WriteTestFile(dir_.path(), "tree/Media/Fonts/main.fs", "Size = 14;");
    ASSERT_EQ(Tool("rar-pack " + Quoted("tree") + " " + Quoted("media.rar")).status, 0);
    const ToolRun list = Tool("rar-list " + Quoted("media.rar"));
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out,
              "D          0 00000000 Media\n"
              "D          0 00000000 Media\\Fonts\n"
              "F         10 74d0cf93 Media\\Fonts\\main.fs\n"
              "F         16 0f88ad9e Media\\Scene.props\n");
    const ToolRun cat = Tool("rar-cat " + Quoted("media.rar") + " media/scene.PROPS");
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.out, "NearPlane = 0.1;");

    const ToolRun missing = Tool("rar-cat " + Quoted("media.rar") + " Media/None.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Media/None.txt: no such member"), std::string::npos) << missing.err;
    std::string bytes = ReadFile(Path("media.rar"));
    bytes[bytes.find("NearPlane")] = 'n';
    WriteTestFile(dir_.path(), "damaged.rar", bytes);
    const ToolRun damaged = Tool("rar-cat " + Quoted("damaged.rar") + " Media/Scene.props");
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("CRC mismatch"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(Tool("rar-list " + Quoted("tree/Media/Scene.props")).status, 1);  // not an archive
    EXPECT_EQ(Tool("rar-pack " + Quoted("absent") + " " + Quoted("x.rar")).status, 1);
}

TEST_F(UdfTool, DumpsTextTreesAsJson) {
    WriteTestFile(dir_.path(), "inc.txt", "Inc = 'ok';");
    WriteTestFile(dir_.path(), "a.txt", "A = array(1, \"two\"); B.C = x; include(\"inc.txt\"); D = \"\xe9\\\\\";");
    const ToolRun run = Tool("text " + Quoted("a.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"name\":\"\",\"kind\":0,\"value\":\"\",\"children\":["
              "{\"name\":\"A\",\"kind\":2,\"value\":\"\",\"children\":["
              "{\"name\":\"0\",\"kind\":0,\"value\":\"1\",\"children\":[]},"
              "{\"name\":\"1\",\"kind\":0,\"value\":\"two\",\"children\":[]}]},"
              "{\"name\":\"B\",\"kind\":1,\"value\":\"\",\"children\":["
              "{\"name\":\"C\",\"kind\":0,\"value\":\"\",\"children\":[]}]},"
              "{\"name\":\"x\",\"kind\":0,\"value\":\"\",\"children\":[]},"
              "{\"name\":\"Inc\",\"kind\":0,\"value\":\"ok\",\"children\":[]},"
              "{\"name\":\"D\",\"kind\":0,\"value\":\"\\u00e9\\\\\\\\\",\"children\":[]}]}\n");
    WriteTestFile(dir_.path(), "empty.txt", "");
    EXPECT_EQ(Tool("text " + Quoted("empty.txt")).status, 1);
    EXPECT_EQ(Tool("text " + Quoted("absent.txt")).status, 1);
}

TEST_F(UdfTool, DumpsAndRoundTripsBinaryFiles) {
    UdfNode top("Top", "Node", 0);
    top.SetFlags(UdfNode::kStruct);
    top.AddInt("Count", 258);
    const std::vector<uint8_t> raw(100, 0xAB);
    top.AddData("Raw", "", raw.data(), 100, true);
    UdfNode link("Link", "Node", 0);
    link.SetFlags(UdfNode::kStruct);
    link.Attach(top.FindChild("Count"), true);
    ASSERT_TRUE(UdfWriter().Save(Path("in.udf").c_str(), {&top, &link}, nullptr, 0));
    link.Detach("Count");

    const ToolRun run = Tool("bin " + Quoted("in.udf") + " --max-data 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"name\":\"_root\",\"type\":\"_roottype\",\"flags\":4,\"count\":0,\"offset\":30,\"size\":247,"
              "\"linked\":false,\"data\":null,\"children\":["
              "{\"name\":\"Top\",\"type\":\"Node\",\"flags\":4,\"count\":0,\"offset\":87,\"size\":157,"
              "\"linked\":false,\"data\":null,\"children\":["
              "{\"name\":\"Count\",\"type\":\"int\",\"flags\":0,\"count\":0,\"offset\":140,\"size\":4,"
              "\"linked\":false,\"data\":\"0201\",\"children\":[]},"
              "{\"name\":\"Raw\",\"type\":\"\",\"flags\":0,\"count\":0,\"offset\":144,\"size\":100,"
              "\"linked\":false,\"data\":\"abab\",\"children\":[]}]},"
              "{\"name\":\"Link\",\"type\":\"Node\",\"flags\":4,\"count\":0,\"offset\":244,\"size\":33,"
              "\"linked\":false,\"data\":null,\"children\":["
              "{\"name\":\"Count\",\"type\":\"int\",\"flags\":0,\"count\":0,\"offset\":140,\"size\":4,"
              "\"linked\":true,\"data\":\"0201\"}]}]}\n");
    std::string first64;
    for (int i = 0; i < 64; ++i) first64 += "ab";
    EXPECT_NE(Tool("bin " + Quoted("in.udf")).out.find("\"data\":\"" + first64 + "\""), std::string::npos);

    ASSERT_EQ(Tool("roundtrip " + Quoted("in.udf") + " " + Quoted("out.udf")).status, 0);
    EXPECT_EQ(ReadFile(Path("out.udf")), ReadFile(Path("in.udf")));
    EXPECT_EQ(Tool("bin " + Quoted("out.udf") + " --max-data 2").out, run.out);

    WriteTestFile(dir_.path(), "not.udf", "UDF Binary 1.1 and more");
    const ToolRun wrong = Tool("bin " + Quoted("not.udf"));
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("not a UDF binary file"), std::string::npos);
    EXPECT_EQ(Tool("bin " + Quoted("in.udf") + " --max-data -1").status, 2);
    EXPECT_EQ(Tool("frobnicate").status, 2);
    EXPECT_NE(Tool("").err.find("usage: udftool"), std::string::npos);
}
