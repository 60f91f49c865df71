#pragma once
// Data linked into the executable, found by (type, id) and read in place.
#include <cstdint>
#include <span>
#include <string_view>
namespace sys {
class Resources {
public:
    virtual ~Resources() = default;
    // The bytes of resource (type, id), or an empty span when there is none. Valid for the process's life.
    // A "BITMAP" holds its file's bytes on Linux; the Windows resource section stores it without
    // the file header (the device-independent bitmap the system's bitmap calls take).
    virtual std::span<const uint8_t> Find(std::string_view type, int id) const = 0;
};
// The process-wide resource table (the linked one unless a test installed another).
const Resources& GetResources();
void SetResources(const Resources* resources);  // null restores the linked table
}  // namespace sys
