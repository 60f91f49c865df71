#include "clock/LightMaps.h"

#include <gtest/gtest.h>

#include "platform/gfx/States.h"
#include "scene/SceneNode.h"

using namespace gfx;

namespace {

class Plain final : public Renderable {
public:
    void updateBounds() override {}
    bool draw() override { return true; }
};

SceneNode* AddChild(SceneNode& parent, const char* name, bool lightMapped) {
    auto node = std::make_unique<SceneNode>();
    node->setName(name);
    auto renderable = std::make_unique<Plain>();
    StateBlock& block = renderable->getStateBlock();
    block.stages[0].colorOp = D3DTOP_MODULATE;
    block.stages[0].texCoordIndex = 0;
    if (lightMapped) {
        block.stages[1].colorOp = D3DTOP_MODULATE;
        block.stages[1].texCoordIndex = 1;
    }
    node->setRenderable(std::move(renderable));
    return parent.addChild(std::move(node));
}

}  // namespace

TEST(LightMaps, LightMappedStagesSwapAndTheFactorIsSubtractedFromTheLightMap) {
    SceneNode root;
    SceneNode* wall = AddChild(root, "Wall", true);
    SceneNode* deep = AddChild(*wall, "Skirting", true);
    SceneNode* glass = AddChild(root, "Glass", false);
    RewriteLightMaps(root);

    for (SceneNode* node : {wall, deep}) {
        const StateBlock& block = node->getRenderable()->getStateBlock();
        // The light map (coordinate set 1) now comes first.
        EXPECT_EQ(block.stages[0].texCoordIndex, 1u);
        EXPECT_EQ(block.stages[0].colorOp, static_cast<uint32_t>(D3DTOP_SUBTRACT));
        EXPECT_EQ(block.stages[0].colorArg1, static_cast<uint32_t>(D3DTA_TEXTURE));
        EXPECT_EQ(block.stages[0].colorArg2, static_cast<uint32_t>(D3DTA_TFACTOR));
        EXPECT_EQ(block.stages[0].alphaOp, static_cast<uint32_t>(D3DTOP_SELECTARG1));
        EXPECT_EQ(block.stages[1].texCoordIndex, 0u);
        EXPECT_EQ(block.stages[1].colorOp, static_cast<uint32_t>(D3DTOP_MODULATE2X));
        EXPECT_EQ(block.stages[1].colorArg2, static_cast<uint32_t>(D3DTA_CURRENT));
    }
    const StateBlock& untouched = glass->getRenderable()->getStateBlock();
    EXPECT_EQ(untouched.stages[0].colorOp, static_cast<uint32_t>(D3DTOP_MODULATE));
    EXPECT_EQ(untouched.stages[1].colorOp, static_cast<uint32_t>(D3DTOP_DISABLE));
}
