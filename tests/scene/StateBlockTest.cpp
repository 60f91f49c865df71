// State blocks pushed to the recording device: the automatic stage rules, alpha and blending,
// the texture factor, lighting, the stage cascade and the render keys that set them up.

#include <memory>

#include "RecordingDeviceTest.h"
#include "SceneFiles.h"
#include "platform/gfx/States.h"
#include "textures/Texture.h"
#include "scene/Scene.h"

using namespace gfx;
using namespace scenefiles;

namespace {

class StateBlockTest : public RecordingDeviceTest {
protected:
    uint32_t Stage(uint32_t stage, D3DTEXTURESTAGESTATETYPE type) const { return device_.StageState(stage, type); }
    uint32_t Render(D3DRENDERSTATETYPE state) const { return device_.RenderState(state); }
};

TEST_F(StateBlockTest, AnUntexturedUnlitAutomaticStageSelectsTheDiffuseColourWithoutAlpha) {
    const StateBlock block;
    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ | D3DFVF_DIFFUSE));
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), D3DTOP_SELECTARG1);
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), D3DTA_DIFFUSE);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), D3DTOP_DISABLE);
    EXPECT_EQ(Stage(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
    EXPECT_EQ(Render(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(Render(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(Render(D3DRS_DIFFUSEMATERIALSOURCE), 1u);
    EXPECT_EQ(Render(D3DRS_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(Render(D3DRS_ZFUNC), D3DCMP_LESSEQUAL);
}

TEST_F(StateBlockTest, FactorAndTextureAlphaModulateAndTheFactorAlphaByteIsTruncatedOpacity) {
    UdfNode keys("Mesh", "Mesh", nullptr, 0, false);
    keys.AddString("AlphaUse", "texture factor");
    keys.AddReal("Alpha", 0.25f);
    StateBlock block;
    Scene::readRenderKeys(keys, block);
    device_.SetRenderState(D3DRS_TEXTUREFACTOR, 0x80123456);

    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ));
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), D3DTOP_MODULATE);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAARG1), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAARG2), D3DTA_TFACTOR);
    EXPECT_EQ(Render(D3DRS_TEXTUREFACTOR), 0x3F123456u);
    EXPECT_EQ(Render(D3DRS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(Render(D3DRS_ALPHAREF), 1u);
    EXPECT_EQ(Render(D3DRS_ALPHAFUNC), D3DCMP_GREATEREQUAL);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(Render(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
    EXPECT_EQ(Render(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
}

TEST_F(StateBlockTest, AlphaUseWordsPickTheirModeInAnyOrderAndUnknownWordsChangeNothing) {
    struct Case {
        const char* words;
        uint32_t op, arg1, arg2;
    };
    const Case cases[] = {
        {"factor", D3DTOP_SELECTARG1, D3DTA_TFACTOR, D3DTA_DIFFUSE},
        {"texture", D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
        {"diffuse", D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_DIFFUSE},
        {"diffuse factor", D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TFACTOR},
        {"texture diffuse", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
        {"", D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
        {"sparkle", StageState::kAutomatic, D3DTA_TEXTURE, D3DTA_DIFFUSE},
    };
    for (const Case& c : cases) {
        UdfNode keys("Mesh", "Mesh", nullptr, 0, false);
        keys.AddString("AlphaUse", c.words);
        StateBlock block;
        Scene::readRenderKeys(keys, block);
        EXPECT_EQ(block.stages[0].alphaOp, c.op) << c.words;
        EXPECT_EQ(block.stages[0].alphaArg1, c.arg1) << c.words;
        EXPECT_EQ(block.stages[0].alphaArg2, c.arg2) << c.words;
    }
    UdfNode keys("Mesh", "Mesh", nullptr, 0, false);
    keys.AddString("AlphaUse", "factor");
    StateBlock block;
    Scene::readRenderKeys(keys, block);
    EXPECT_FLOAT_EQ(block.opacity, 0.5f);
}

TEST_F(StateBlockTest, RenderKeysSetBlendingFiltersAddressesAndLighting) {
    UdfNode keys("Mesh", "Mesh", nullptr, 0, false);
    keys.AddString("Blend", "additive");
    keys.AddString("MinFilter", "point");
    keys.AddString("MagFilter", "anisotropic");
    keys.AddString("MipFilter", "Linear");  // words are compared with regard to case
    keys.AddString("TexAddrU", "mirror");
    keys.AddString("TexAddrV", "border");
    keys.AddString("Lit", "0");
    StateBlock block;
    Scene::readRenderKeys(keys, block);
    EXPECT_EQ(block.blendMode, StateBlock::kAdditive);
    EXPECT_EQ(block.stages[0].minFilter, D3DTEXF_POINT);
    EXPECT_EQ(block.stages[0].magFilter, D3DTEXF_ANISOTROPIC);
    EXPECT_EQ(block.stages[0].mipFilter, D3DTEXF_LINEAR);
    EXPECT_EQ(block.stages[0].addressU, D3DTADDRESS_MIRROR);
    EXPECT_EQ(block.stages[0].addressV, D3DTADDRESS_BORDER);
    EXPECT_EQ(block.lit, 0);

    // Additive blending is on although no stage uses alpha.
    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(Render(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(Render(D3DRS_DESTBLEND), D3DBLEND_ONE);
    EXPECT_EQ(Render(D3DRS_LIGHTING), 0u);
}

TEST_F(StateBlockTest, TexturedLitStagesModulateAndTextureAlphaTurnsBlendingOn) {
    auto opaque = MakeTexture(D3DFMT_X8R8G8B8);
    auto withAlpha = MakeTexture(D3DFMT_A8R8G8B8);
    StateBlock block;
    block.stages[0].texture = opaque.get();
    block.stages[1].colorOp = StageState::kAutomatic;
    block.stages[1].alphaOp = StageState::kAutomatic;
    block.stages[1].texture = withAlpha.get();
    block.stages[2].colorOp = D3DTOP_DISABLE;
    block.stages[3].colorOp = D3DTOP_ADD;  // beyond the cascade's end: never reaches the device

    EXPECT_TRUE(block.usesAlpha());
    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2));
    EXPECT_EQ(Render(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(Render(D3DRS_DIFFUSEMATERIALSOURCE), 0u);
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG2), D3DTA_DIFFUSE);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), D3DTOP_DISABLE);
    EXPECT_EQ(Stage(1, D3DTSS_COLOROP), D3DTOP_MODULATE2X);
    EXPECT_EQ(Stage(1, D3DTSS_COLORARG1), D3DTA_CURRENT);
    EXPECT_EQ(Stage(1, D3DTSS_COLORARG2), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(1, D3DTSS_ALPHAOP), D3DTOP_MODULATE);
    EXPECT_EQ(Stage(1, D3DTSS_ALPHAARG1), D3DTA_CURRENT);
    EXPECT_EQ(Stage(1, D3DTSS_ALPHAARG2), D3DTA_TEXTURE);
    EXPECT_EQ(Stage(1, D3DTSS_TEXCOORDINDEX), 1u);
    EXPECT_EQ(device_.BoundTexture(0), opaque->D3DTexture());
    EXPECT_EQ(device_.BoundTexture(1), withAlpha->D3DTexture());
    EXPECT_EQ(Render(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_TRUE(CallsStartingWith("SetTextureStageState(3,").empty());

    // The same block again costs no device call.
    device_.ClearCalls();
    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2));
    EXPECT_TRUE(device_.Calls().empty());
}

TEST_F(StateBlockTest, AnAutomaticStageOverATextureWithoutAlphaAtFullOpacityUsesNoAlpha) {
    auto opaque = MakeTexture(D3DFMT_X8R8G8B8);
    StateBlock block;
    block.stages[0].texture = opaque.get();
    EXPECT_FALSE(block.usesAlpha());
    block.opacity = 0.5f;  // automatic factor alpha then selects the factor
    ASSERT_TRUE(ApplyStateBlock(block, D3DFVF_XYZ));
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), D3DTOP_SELECTARG1);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAARG1), D3DTA_TFACTOR);
}

TEST(StageEquality, ComparesOnlyTheArgumentsTheOperationsRead) {
    StageState a;
    a.colorOp = D3DTOP_SELECTARG1;
    a.alphaOp = D3DTOP_DISABLE;
    StageState b = a;
    b.colorArg2 = D3DTA_TFACTOR;
    b.alphaArg1 = D3DTA_CURRENT;
    EXPECT_TRUE(StagesEqual(a, b));
    b.colorArg1 = D3DTA_TFACTOR;
    EXPECT_FALSE(StagesEqual(a, b));
    StageState c = a;
    c.colorOp = D3DTOP_LERP;
    StageState d = c;
    d.colorArg0 = D3DTA_TEXTURE;
    EXPECT_FALSE(StagesEqual(c, d));
    StageState e = a;
    e.mipFilter = D3DTEXF_NONE;
    EXPECT_FALSE(StagesEqual(a, e));
}

}  // namespace
