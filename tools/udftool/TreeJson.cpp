#include "TreeJson.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

namespace {

// Writes the tree without recursion, so no depth of tree exhausts the stack. `children` lists
// (child, linked) pairs; `fields` writes a node's members (without braces or children). A linked
// child is written without its children.
template <typename Node, typename Fields, typename Children>
std::string WriteTree(const Node& root, Fields fields, Children children) {
    struct Frame {
        std::vector<std::pair<const Node*, bool>> children;
        size_t next = 0;
    };
    std::string out;
    std::vector<Frame> stack;
    const auto open = [&](const Node& node, bool linked) {
        out += '{';
        fields(out, node, linked);
        if (!linked) {
            out += ",\"children\":[";
            stack.push_back({children(node), 0});
        } else {
            out += '}';
        }
    };
    open(root, false);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.children.size()) {
            out += "]}";
            stack.pop_back();
            continue;
        }
        if (top.next > 0) out += ',';
        const auto [child, linked] = top.children[top.next++];
        open(*child, linked);
    }
    return out;
}

}  // namespace

std::string TextTreeToJson(const UdfTextNode& root) {
    return WriteTree(
        root,
        [](std::string& out, const UdfTextNode& node, bool /*linked*/) {
            out += "\"name\":";
            AppendJsonString(out, node.Name().view());
            out += ",\"kind\":" + std::to_string(node.Kind()) + ",\"value\":";
            AppendJsonString(out, node.Value().view());
        },
        [](const UdfTextNode& node) {
            std::vector<std::pair<const UdfTextNode*, bool>> list;
            for (const auto& entry : node.Children()) list.emplace_back(entry.node, false);
            return list;
        });
}

std::string BinaryTreeToJson(const UdfNode& root, uint32_t maxData) {
    return WriteTree(
        root,
        [&](std::string& out, const UdfNode& node, bool linked) {
            out += "\"name\":";
            AppendJsonString(out, node.Name().view());
            out += ",\"type\":";
            AppendJsonString(out, node.TypeName().view());
            out += ",\"flags\":" + std::to_string(node.Flags()) + ",\"count\":" + std::to_string(node.Count()) +
                   ",\"offset\":" + std::to_string(node.FileOffset()) + ",\"size\":" + std::to_string(node.Size()) +
                   ",\"linked\":" + (linked ? "true" : "false") + ",\"data\":";
            if (!node.DataPresent()) {
                out += "null";
                return;
            }
            out += '"';
            const uint32_t shown = node.Data() ? std::min(node.Size(), maxData) : 0;
            for (uint32_t i = 0; i < shown; ++i) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02x", node.Data()[i]);
                out += hex;
            }
            out += '"';
        },
        [](const UdfNode& node) {
            std::vector<std::pair<const UdfNode*, bool>> list;
            for (const auto& entry : node.Children()) list.emplace_back(entry.node, entry.linked);
            return list;
        });
}
