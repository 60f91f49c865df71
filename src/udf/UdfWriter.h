#pragma once
// Writes the binary form of the data format. Each struct's area is its directory followed by
// its owned children's areas; a linked child's entry points at the area its owner wrote, wherever
// that lies, through fix-ups applied at the end.

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "resources/DataStream.h"
#include "udf/UdfNode.h"
#include "udf/UdfTypeDef.h"

class UdfWriter {
public:
    enum Flags : uint32_t { kInMemory = 0x01 };  // build the file in memory, write it at the end

    // Writes `topNodes` (the root's children, in order) and the type table; `typeDefs` may be
    // null. The nodes stay the caller's and keep their parents.
    bool Save(const char* path, const std::vector<UdfNode*>& topNodes, const std::vector<UdfTypeDef>* typeDefs,
              uint32_t flags);

private:
    struct LengthFixup {
        uint32_t position;
        int count;  // 1 or 2 values
        uint32_t first;
        uint32_t second;
    };

    bool WriteNode(const UdfNode& node);
    bool WriteString(const EngineString& text);
    bool WriteTypeTable(const std::vector<UdfTypeDef>* typeDefs);
    bool ApplyFixups();

    DataStream* out_ = nullptr;
    std::unordered_map<const UdfNode*, std::pair<uint32_t, uint32_t>> written_;  // offset, size
    std::vector<std::pair<uint32_t, const UdfNode*>> linkFixups_;
    std::vector<LengthFixup> lengthFixups_;
};
