#include "RoomMedia.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>

#include "udf/UdfReader.h"

namespace roomtest {

std::string MediaDir() { return std::string(QUELMONT_BINARY_DIR) + "/media/tree/Media"; }
std::string ArchivePath() { return std::string(QUELMONT_BINARY_DIR) + "/media/media.rar"; }

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

BinaryFile LoadBinary(const std::string& path) {
    BinaryFile file;
    file.bytes = ReadFile(path);
    UdfReader reader;
    file.root = reader.OpenMemory(file.bytes.data(), static_cast<uint32_t>(file.bytes.size()));
    if (file.root) file.root->Load(0);
    reader.Close();
    return file;
}

std::string Text(const UdfNode* node) {
    if (!node) return {};
    const EngineString s = node->AsString();
    return std::string(s.c_str(), s.length());
}

float FloatAt(const UdfNode* node, uint32_t index) {
    if (!node || node->Size() < 4 * (index + 1)) return 0;
    uint32_t v;
    std::memcpy(&v, node->Data() + 4 * index, 4);
    return std::bit_cast<float>(v);
}

namespace {

void Collect(const UdfNode& node, const UdfNode* parent, std::vector<SceneEntry>& out) {
    const UdfNode* children = node.FindChild("Children");
    if (!children) return;
    for (const auto& entry : children->Children()) {
        out.push_back({std::string(entry.name.c_str(), entry.name.length()), entry.node, parent});
        Collect(*entry.node, entry.node, out);
    }
}

}  // namespace

std::vector<SceneEntry> SceneNodes(const UdfNode& root) {
    std::vector<SceneEntry> out;
    Collect(root, nullptr, out);
    return out;
}

uint32_t FvfStride(int32_t fvf) {
    uint32_t stride = 0;
    if ((fvf & 0xE) == 0x2) stride += 12;
    if (fvf & 0x10) stride += 12;
    if (fvf & 0x40) stride += 4;
    stride += 8 * static_cast<uint32_t>((fvf >> 8) & 0xF);
    return stride;
}

}  // namespace roomtest
