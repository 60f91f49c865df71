// Temporary: the process-wide resource table, until the linked one is merged in from main.
#include "platform/sys/Resources.h"

namespace sys {
namespace {
class EmptyResources final : public Resources {
public:
    std::span<const uint8_t> Find(std::string_view, int) const override { return {}; }
};
const Resources* g_resources = nullptr;
}  // namespace

const Resources& GetResources() {
    static const EmptyResources empty;
    return g_resources ? *g_resources : empty;
}

void SetResources(const Resources* resources) { g_resources = resources; }
}  // namespace sys
