#include "platform/gfx/Direct3D.h"

namespace gfx {
namespace {
Direct3DFactory g_factory = nullptr;
}

void SetDirect3DFactory(Direct3DFactory factory) { g_factory = factory; }

Ref<Direct3D> Direct3DCreate9(uint32_t sdkVersion) { return g_factory ? g_factory(sdkVersion) : nullptr; }

}  // namespace gfx
