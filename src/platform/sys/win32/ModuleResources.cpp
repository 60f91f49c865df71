#include <windows.h>

#include <string>

#include "platform/sys/Resources.h"

namespace sys {
namespace {

// The executable's resource section: the system keeps it mapped for the process's life, so the
// bytes are read in place.
class ModuleResources final : public Resources {
public:
    std::span<const uint8_t> Find(std::string_view type, int id) const override {
        if (id <= 0 || id > 0xFFFF) return {};
        const std::string typeName(type);
        // Bitmaps are stored under the system's own type, which the resource compiler gives them.
        const bool bitmap = CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, typeName.c_str(), -1, "BITMAP", -1) ==
                            CSTR_EQUAL;
        HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), bitmap ? RT_BITMAP : typeName.c_str());
        if (!found) return {};
        HGLOBAL loaded = LoadResource(nullptr, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return {};
        return {static_cast<const uint8_t*>(bytes), SizeofResource(nullptr, found)};
    }
};

}  // namespace

const Resources& PlatformResources() {
    static ModuleResources resources;
    return resources;
}

}  // namespace sys
