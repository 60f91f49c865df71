#pragma once
// The table of resources linked into the executable on Linux: the build generates one
// registration per resource file (see cmake/Resources.cmake); registrations run before main.
// Windows programs carry theirs in the resource section instead.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/sys/Resources.h"

namespace sys {

void RegisterLinkedResource(std::string_view type, int id, std::span<const uint8_t> bytes);

// A fixed table for tests and tools: entries are looked up in order, type names compared
// without regard to letter case.
class ResourceTable final : public Resources {
public:
    struct Entry {
        std::string_view type;
        int id;
        std::span<const uint8_t> bytes;
    };
    void Add(std::string_view type, int id, std::span<const uint8_t> bytes) { entries_.push_back({type, id, bytes}); }
    std::span<const uint8_t> Find(std::string_view type, int id) const override;

private:
    std::vector<Entry> entries_;
};

}  // namespace sys
