#pragma once
// Direct3D render states that map onto OpenGL's fixed stages: depth, blending, culling, fill
// and colour masks; and sampler states onto sampler objects.

#include "platform/gfx/StateDevice.h"
#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {

// Without `blend`, blending stays off whatever the states say.
void ApplyPipelineStates(const StateDevice& device, bool hasDepthBuffer, bool blend);
void ApplySamplerStates(const StateDevice& device, uint32_t stage, GLuint sampler, bool anisotropy);

}  // namespace gfx::gl
