#pragma once
// Blending and the alpha test cost the software rasterizer a read of the target and a test per
// fragment. Where every fragment of a draw has alpha exactly 1 (opaque textures, factors and
// colours through the alpha cascade), the usual set-ups cannot change a pixel: the test passes
// and the blend replaces. The device then leaves them off.

#include "platform/gfx/StateDevice.h"
#include "platform/gfx/gl/ShaderKey.h"

namespace gfx::gl {

// The alpha the cascade of `key` gives is 1 for every fragment.
bool AlphaIsOne(const ShaderKey& key, const StateDevice& device);
// At alpha 1 the alpha test lets every fragment through.
bool AlphaTestPassesAtOne(const StateDevice& device);
// At source alpha 1 the blend writes the source unchanged.
bool BlendReplacesAtOne(const StateDevice& device);

}  // namespace gfx::gl
