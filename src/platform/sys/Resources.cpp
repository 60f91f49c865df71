#include "platform/sys/Resources.h"

#include "platform/sys/LinkedResources.h"

namespace sys {
namespace {

ResourceTable& Linked() {
    static ResourceTable table;
    return table;
}

const Resources* g_installed = nullptr;

}  // namespace

std::span<const uint8_t> ResourceTable::Find(std::string_view type, int id) const {
    for (const Entry& entry : entries_)
        if (entry.id == id && entry.type == type) return entry.bytes;
    return {};
}

void RegisterLinkedResource(std::string_view type, int id, std::span<const uint8_t> bytes) {
    Linked().Add(type, id, bytes);
}

const Resources& GetResources() { return g_installed ? *g_installed : Linked(); }

void SetResources(const Resources* resources) { g_installed = resources; }

}  // namespace sys
