// The text parser over any bytes, then every accessor over the tree it made.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/MemoryStream.h"
#include "udf/UdfTextParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream stream;
    stream.Refer(data, static_cast<uint32_t>(size));
    stream.Open(nullptr, DataStream::kRead);
    UdfTextNode root;
    ParseUdfText(stream, root, nullptr);
    std::vector<const UdfTextNode*> pending{&root};
    double sum = 0;
    while (!pending.empty()) {
        const UdfTextNode* node = pending.back();
        pending.pop_back();
        sum += node->AsInt() + node->AsReal() + node->AsString().length() + node->Kind();
        for (const auto& entry : node->Children()) pending.push_back(entry.node);
    }
    return sum == -1.0 ? 1 : 0;
}
