#include "scene/SceneKeys.h"

#include <bit>
#include <cstring>

#include "common/LittleEndian.h"
#include "udf/UdfNode.h"

namespace {

// The leaf `name` when it holds at least `size` bytes.
const UdfNode* Leaf(const UdfNode& node, const char* name, uint32_t size) {
    const UdfNode* leaf = node.FindChild(name);
    if (!leaf || !leaf->DataPresent() || !leaf->Data() || leaf->Size() < size) return nullptr;
    return leaf;
}

float FloatAt(const uint8_t* p) {
    return std::bit_cast<float>(GetLe32(p));
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool ReadMatrixKey(const UdfNode& node, const char* name, Matrix& out) {
    const UdfNode* leaf = Leaf(node, name, 64);
    if (!leaf) return false;
    math::Mat4 m;
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = FloatAt(leaf->Data() + 4 * i);
    out = Matrix::General(m);
    return true;
}

bool ReadColorKey(const UdfNode& node, const char* name, EngineColor& out) {
    const UdfNode* leaf = Leaf(node, name, 16);
    if (!leaf) return false;
    const uint8_t* p = leaf->Data();
    out = {FloatAt(p), FloatAt(p + 4), FloatAt(p + 8), FloatAt(p + 12)};
    return true;
}

bool ReadRealKey(const UdfNode& node, const char* name, float& out) {
    const UdfNode* leaf = Leaf(node, name, 4);
    if (!leaf) return false;
    out = leaf->AsReal();
    return true;
}

bool ReadIntKey(const UdfNode& node, const char* name, int32_t& out) {
    const UdfNode* leaf = Leaf(node, name, 4);
    if (!leaf) return false;
    out = leaf->AsInt();
    return true;
}

bool ReadStringKey(const UdfNode& node, const char* name, EngineString& out) {
    const UdfNode* leaf = node.FindChild(name);
    if (!leaf || !leaf->DataPresent()) return false;
    // A text leaf may carry a terminator: the text ends at the first NUL.
    const EngineString text = leaf->AsString();
    out = EngineString(std::string_view(text.c_str()));
    return true;
}

bool KeyIsOne(const UdfNode& node, const char* name) {
    const UdfNode* leaf = node.FindChild(name);
    if (!leaf) return false;
    if (leaf->TypeName() == "int") return leaf->AsInt() == 1;
    EngineString text;
    return ReadStringKey(node, name, text) && text == "1";
}

bool HasWord(std::string_view words, std::string_view word) {
    size_t at = 0;
    while (at < words.size()) {
        while (at < words.size() && (words[at] == ' ' || words[at] == '\t')) ++at;
        size_t end = at;
        while (end < words.size() && words[end] != ' ' && words[end] != '\t') ++end;
        if (end > at && words.substr(at, end - at) == word) return true;
        at = end;
    }
    return false;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    for (size_t at = 0; at + part.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < part.size() && Lower(text[at + i]) == Lower(part[i])) ++i;
        if (i == part.size()) return true;
    }
    return false;
}
