#include "platform/sys/Resources.h"

#include "platform/sys/LinkedResources.h"

namespace sys {

const Resources& PlatformResources();  // the executable's own, linked in per platform

namespace {

const Resources* g_installed = nullptr;

// Resource type names are compared without regard to letter case, as the platform does.
bool SameType(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 32) : a[i];
        const char y = (b[i] >= 'a' && b[i] <= 'z') ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::span<const uint8_t> ResourceTable::Find(std::string_view type, int id) const {
    for (const Entry& entry : entries_)
        if (entry.id == id && SameType(entry.type, type)) return entry.bytes;
    return {};
}

const Resources& GetResources() { return g_installed ? *g_installed : PlatformResources(); }

void SetResources(const Resources* resources) { g_installed = resources; }

}  // namespace sys
