// The binary reader over any bytes: the whole tree loaded with one of the load modes (and leaf
// expansions), then every accessor over it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "udf/UdfReader.h"

namespace {

constexpr uint32_t kModes[] = {0x00, 0x01, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x48, 0xC0, 0xD0, 0xD8};
constexpr uint32_t kExpandFlags[] = {0, 1, 2, 3, 5, 7};

uint64_t Visit(const UdfNode& root) {
    uint64_t sum = 0;
    std::vector<const UdfNode*> pending{&root};
    while (!pending.empty()) {
        const UdfNode* node = pending.back();
        pending.pop_back();
        sum += static_cast<uint64_t>(node->AsInt()) + node->AsString().length() + node->AsUString().size();
        if (node->Data() && node->Size() > 0) sum += node->Data()[node->Size() - 1];
        for (const auto& entry : node->Children()) {
            if (!entry.linked) pending.push_back(entry.node);
        }
    }
    return sum;
}

}  // namespace

// One load per input, its mode and leaf expansion picked by the last byte: every pair is
// reached, and an input costs one load rather than one for each mode.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t selector = size > 0 ? data[size - 1] : 0;
    const uint32_t mode = kModes[selector % std::size(kModes)];
    const uint32_t expand = kExpandFlags[selector / std::size(kModes) % std::size(kExpandFlags)];
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(data, static_cast<uint32_t>(size));
    if (!root) return 0;
    reader.LoadNode(*root, mode, expand);
    // Loading again with everything descends into what the first pass left.
    reader.LoadNode(*root, 0, 0);
    uint64_t sum = Visit(*root);
    reader.Close();
    sum += Visit(*root);
    return sum == 1 ? 1 : 0;
}
