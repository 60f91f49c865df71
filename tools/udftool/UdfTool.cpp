#include "UdfTool.h"

#include <cstdlib>
#include <memory>

#include "SceneTool.h"
#include "TreeJson.h"
#include "resources/DiskStream.h"
#include "resources/FileSearchList.h"
#include "resources/RarArchive.h"
#include "resources/RarWriter.h"
#include "udf/UdfReader.h"
#include "udf/UdfTextParser.h"
#include "udf/UdfWriter.h"

namespace {

constexpr const char* kUsage =
    "usage: udftool text FILE\n"
    "       udftool bin FILE [--max-data N]\n"
    "       udftool roundtrip IN OUT\n"
    "       udftool rar-list ARCHIVE\n"
    "       udftool rar-cat ARCHIVE NAME\n"
    "       udftool rar-pack DIR OUT\n"
    "       udftool scene FILE\n"
    "       udftool render FILE --out PNG [--eye X,Y,Z] [--at X,Y,Z] [--up X,Y,Z] [--size WxH]\n"
    "                      [--fov RADIANS] [--time SECONDS] [--ambient 0xAARRGGBB] [--clear 0xAARRGGBB]\n"
    "                      [--path CAM --path-time T] [--repeat N]\n";

int Fail(std::FILE* err, const std::string& message) {
    std::fprintf(err, "udftool: %s\n", message.c_str());
    return 1;
}

void Print(std::FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

bool ReadDiskFile(const std::string& path, ByteBlock& bytes) {
    FileSource source{EngineString(path.c_str())};
    bool wantReference = false;
    return source.ReadAll(bytes, wantReference);
}

int Text(const std::string& path, std::FILE* out, std::FILE* err) {
    FileSource source{EngineString(path.c_str())};
    std::unique_ptr<DataStream> stream = source.Open(DataStream::kRead);
    if (!stream) return Fail(err, path + ": cannot open");
    // Included files are found beside the file too.
    FileSearchList searchList;
    searchList.Add(source.ParentDirectory());
    UdfTextNode root;
    if (!ParseUdfText(*stream, root, &searchList)) return Fail(err, path + ": empty, unreadable, an include failed, or it builds far more than its size explains");
    Print(out, TextTreeToJson(root));
    return 0;
}

// Reads a binary file fully into `root`; the reader is closed afterwards, as the program does.
int LoadBinary(const std::string& path, ByteBlock& bytes, std::unique_ptr<UdfNode>& root, std::FILE* err) {
    if (!ReadDiskFile(path, bytes)) return Fail(err, path + ": cannot read");
    UdfReader reader;
    root = reader.OpenMemory(bytes.data, bytes.size);
    if (!root) return Fail(err, path + ": not a UDF binary file");
    root->Load(0);
    reader.Close();
    return 0;
}

int Binary(const std::string& path, uint32_t maxData, std::FILE* out, std::FILE* err) {
    ByteBlock bytes;
    std::unique_ptr<UdfNode> root;
    if (const int status = LoadBinary(path, bytes, root, err)) return status;
    Print(out, BinaryTreeToJson(*root, maxData));
    return 0;
}

int Roundtrip(const std::string& in, const std::string& outPath, std::FILE* err) {
    ByteBlock bytes;
    std::unique_ptr<UdfNode> root;
    if (const int status = LoadBinary(in, bytes, root, err)) return status;
    std::vector<UdfNode*> top;
    for (const auto& entry : root->Children()) top.push_back(entry.node);
    UdfWriter writer;
    if (!writer.Save(outPath.c_str(), top, nullptr, 0)) return Fail(err, outPath + ": cannot write");
    return 0;
}

bool OpenArchive(const std::string& path, RarArchive& archive) {
    return archive.Open(FileSource{EngineString(path.c_str())}) && !archive.Bytes().empty();
}

int RarList(const std::string& path, std::FILE* out, std::FILE* err) {
    RarArchive archive;
    if (!OpenArchive(path, archive)) return Fail(err, path + ": cannot read");
    std::vector<RarArchive::Member> members;
    if (!archive.List(members)) return Fail(err, path + ": not a RAR archive");
    for (const RarArchive::Member& member : members) {
        std::fprintf(out, "%c %10u %08x %s\n", member.isDirectory ? 'D' : 'F', member.unpackedSize, member.crc,
                     member.name.c_str());
    }
    return 0;
}

int RarCat(const std::string& path, const std::string& name, std::FILE* out, std::FILE* err) {
    RarArchive archive;
    if (!OpenArchive(path, archive)) return Fail(err, path + ": cannot read");
    ByteBlock member;
    const RarArchive::Result result = archive.Extract(name, member);
    if (result != RarArchive::Result::kOk) return Fail(err, path + ": " + name + ": " + DescribeRarResult(result));
    if (member.size > 0) std::fwrite(member.data, 1, member.size, out);
    return 0;
}

int RarPack(const std::string& dir, const std::string& outPath, std::FILE* err) {
    DiskStream out;
    if (!out.Open(outPath.c_str(), DataStream::kWrite)) return Fail(err, outPath + ": cannot write");
    if (!RarWriter::PackDirectory(dir.c_str(), out) || !out.Close()) {
        std::remove(outPath.c_str());
        return Fail(err, dir + ": cannot pack into " + outPath);
    }
    return 0;
}

bool ParseCount(const std::string& text, uint32_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text[0] == '-' || parsed > UINT32_MAX) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

}  // namespace

int RunUdfTool(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    const std::string command = args.empty() ? "" : args[0];
    const size_t n = args.size();
    if (command == "text" && n == 2) return Text(args[1], out, err);
    if (command == "bin" && n == 2) return Binary(args[1], 64, out, err);
    uint32_t maxData = 0;
    if (command == "bin" && n == 4 && args[2] == "--max-data" && ParseCount(args[3], maxData)) {
        return Binary(args[1], maxData, out, err);
    }
    if (command == "roundtrip" && n == 3) return Roundtrip(args[1], args[2], err);
    if (command == "rar-list" && n == 2) return RarList(args[1], out, err);
    if (command == "rar-cat" && n == 3) return RarCat(args[1], args[2], out, err);
    if (command == "rar-pack" && n == 3) return RarPack(args[1], args[2], err);
    if (command == "scene" && n == 2) return SceneCommand(args[1], out, err);
    if (command == "render") {
        const int status = RenderCommand(std::vector<std::string>(args.begin() + 1, args.end()), err);
        if (status != 2) return status;
    }
    std::fputs(kUsage, err);
    return 2;
}
