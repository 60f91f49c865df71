// The binary reader over any bytes: the whole tree loaded with each mode (and leaf expansion),
// then every accessor over it.
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint64_t sum = 0;
    size_t i = 0;
    for (const uint32_t mode : kModes) {
        UdfReader reader;
        std::unique_ptr<UdfNode> root = reader.OpenMemory(data, static_cast<uint32_t>(size));
        if (!root) return 0;
        reader.LoadNode(*root, mode, kExpandFlags[i++ % std::size(kExpandFlags)]);
        // Loading again with everything descends into what the first pass left.
        reader.LoadNode(*root, 0, 0);
        sum += Visit(*root);
        reader.Close();
        sum += Visit(*root);
    }
    return sum == 1 ? 1 : 0;
}
