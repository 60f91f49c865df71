#include "clock/LightMaps.h"

#include <utility>

#include "platform/gfx/States.h"
#include "scene/SceneNode.h"
#include "scene/StateBlock.h"

using namespace gfx;

void RewriteLightMappedStages(StateBlock& block) {
    if (block.stages[1].colorOp == D3DTOP_DISABLE) return;
    StageState& surface = block.stages[1];
    StageState& lightMap = block.stages[0];
    std::swap(surface, lightMap);
    surface.colorOp = D3DTOP_MODULATE2X;
    surface.alphaOp = D3DTOP_SELECTARG1;
    surface.colorArg1 = D3DTA_TEXTURE;
    surface.colorArg2 = D3DTA_CURRENT;
    surface.alphaArg1 = D3DTA_TEXTURE;
    lightMap.colorOp = D3DTOP_SUBTRACT;
    lightMap.alphaOp = D3DTOP_SELECTARG1;
    lightMap.colorArg1 = D3DTA_TEXTURE;
    lightMap.colorArg2 = D3DTA_TFACTOR;
    lightMap.alphaArg1 = D3DTA_TEXTURE;
}

void RewriteLightMaps(SceneNode& node) {
    if (Renderable* renderable = node.getRenderable()) RewriteLightMappedStages(renderable->getStateBlock());
    for (const auto& child : node.children()) RewriteLightMaps(*child);
}
