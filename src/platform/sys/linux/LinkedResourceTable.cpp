#include "platform/sys/LinkedResources.h"

namespace sys {
namespace {

ResourceTable& Linked() {
    static ResourceTable table;
    return table;
}

}  // namespace

void RegisterLinkedResource(std::string_view type, int id, std::span<const uint8_t> bytes) {
    Linked().Add(type, id, bytes);
}

const Resources& PlatformResources() { return Linked(); }

}  // namespace sys
