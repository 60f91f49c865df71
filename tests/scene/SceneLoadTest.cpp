// Loading a scene file: nodes and takes, materials and their stages, lights.

#include <cmath>

#include "SceneFixture.h"
#include "SceneTestSupport.h"
#include "platform/gfx/States.h"

using namespace gfx;
using namespace scenefiles;

namespace {

class SceneLoadTest : public SceneTest {};

TEST_F(SceneLoadTest, ANodeMetTwiceIsMadeOnceAndItsSecondOccurrenceAddsOnlyTransformsAndAnimation) {
    UdfNode& children = Children();
    AddNode(children, "Pendulum", "Dummy", math::Translation(1, 2, 3));
    UdfNode* holder = AddNode(children, "Holder", "Dummy", math::Identity());
    UdfNode* again = AddNode(*AddStruct(*holder, "Children", "Node"), "pendulum", "Mesh", math::Translation(5, 0, 0));
    UdfNode* rotation = AddStruct(*AddStruct(*again, "Animation", "Animation"), "Rotation", "Sample");
    const AnimationKey key = AnimationKey::Rotation(0.5f, {0, 0, 0, 1});
    rotation->AddData("0", "AniKey", &key, sizeof(key), true);
    ASSERT_TRUE(Load("walk"));

    ASSERT_EQ(scene_->rootChildren().size(), 2u);
    SceneNode* pendulum = scene_->root().find("Pendulum");
    ASSERT_NE(pendulum, nullptr);
    EXPECT_EQ(pendulum->getParent(), &scene_->root());
    EXPECT_EQ(pendulum->getType(), "Dummy");
    EXPECT_TRUE(scene_->root().findChild("Holder")->children().empty());
    // The first take was applied at load; the second occurrence replaced the take of this load.
    ExpectNear(pendulum->getTransform().getPosition(), {1, 2, 3});
    pendulum->applyTake("walk", false);
    ExpectNear(pendulum->getTransform().getPosition(), {5, 0, 0});
    ASSERT_NE(pendulum->findAnimation("walk"), nullptr);
    EXPECT_EQ(pendulum->findAnimation("walk")->rotationTrack().keyCount(), 1u);
    EXPECT_TRUE(pendulum->findAnimation("walk")->rotationTrack().flags() & AnimationTrack::kLinear);
}

TEST_F(SceneLoadTest, ANodeLinkedIntoItsOwnSubtreeIsReadOnce) {
    UdfNode* loop = AddNode(Children(), "Loop", "Dummy", math::Translation(1, 0, 0));
    UdfNode* inner = AddStruct(*loop, "Children", "Node");
    UdfNode* twin = AddNode(*inner, "Twin", "Dummy", math::Identity());
    // Two ways back into the loop at every level: read naively, the paths would multiply.
    ASSERT_TRUE(inner->Attach(loop, true));
    ASSERT_TRUE(AddStruct(*twin, "Children", "Node")->Attach(loop, true));
    ASSERT_TRUE(Load());
    ASSERT_EQ(scene_->rootChildren().size(), 1u);
    const SceneNode& node = *scene_->rootChildren()[0];
    ASSERT_EQ(node.children().size(), 1u);
    EXPECT_EQ(node.children()[0]->getName(), "Twin");
    EXPECT_TRUE(node.children()[0]->children().empty());
}

TEST_F(SceneLoadTest, ObjectOffsetsAreKeptOnlyWhenTheyDifferFromTheIdentityByMoreThanAHundredth) {
    UdfNode& children = Children();
    math::Mat4 nearly = math::Identity();
    nearly(3, 0) = 0.009f;
    AddNode(children, "Near", "Dummy", math::Identity(), nearly);
    AddNode(children, "Far", "Dummy", math::Identity(), math::Translation(0.02f, 0, 0));
    // A matrix with two equal rows does not decompose and is kept whole.
    math::Mat4 flat = math::Identity();
    flat(1, 0) = 1;
    flat(1, 1) = 0;
    AddNode(children, "Flat", "Dummy", flat);
    ASSERT_TRUE(Load());

    ExpectNear(scene_->root().find("Near")->getObjectTransform().getMatrix().m, math::Identity());
    ExpectNear(scene_->root().find("Far")->getObjectTransform().getMatrix().m, math::Translation(0.02f, 0, 0));
    ExpectNear(scene_->root().find("Flat")->getTransform().getMatrix().m, flat);
}

TEST_F(SceneLoadTest, LoadingASecondFileAddsItsTakeToTheSameNodes) {
    AddNode(Children(), "Door", "Dummy", math::Translation(1, 0, 0));
    ASSERT_TRUE(Load("closed"));
    root_ = MakeRoot();
    AddNode(Children(), "Door", "Dummy", math::Translation(2, 0, 0));
    AddNode(Children(), "Key", "Dummy", math::Translation(3, 0, 0));
    ASSERT_TRUE(Load("open"));

    ASSERT_EQ(scene_->rootChildren().size(), 2u);
    SceneNode* door = scene_->root().find("Door");
    ExpectNear(door->getTransform().getPosition(), {1, 0, 0});
    door->applyTake("open", false);
    ExpectNear(door->getTransform().getPosition(), {2, 0, 0});
    ExpectNear(scene_->root().find("Key")->getTransform().getPosition(), {3, 0, 0});
}

TEST_F(SceneLoadTest, MissingOrUnparsableFilesFailAndAFileWithOnlyChildrenUsesTheMeshDefault) {
    scene_ = std::make_unique<Scene>(Context());
    EXPECT_FALSE(scene_->load(FileSource(EngineString(PathOf("absent.udf").c_str())), ""));
    const uint8_t junk[] = "UDF Binary 0.9 and then some";
    EXPECT_FALSE(scene_->loadFromMemory(junk, sizeof(junk), ""));

    AddSquareMesh(Children(), "Floor", 0, 0, 1, 5);
    SaveBytes(*root_, PathOf("only.udf"));
    ASSERT_TRUE(scene_->load(FileSource(EngineString(PathOf("only.udf").c_str())), ""));
    EXPECT_EQ(scene_->materials().size(), 0u);
    ASSERT_NE(MeshOf("Floor"), nullptr);
    const StateBlock fresh;
    EXPECT_EQ(MeshOf("Floor")->getStateBlock().stages[0].colorOp, fresh.stages[0].colorOp);
    EXPECT_EQ(MeshOf("Floor")->getStateBlock().cullMode, fresh.cullMode);
}

TEST_F(SceneLoadTest, MaterialsReadColoursInAlphaRedGreenBlueOrderAndTwoSidedTurnsCullingOff) {
    UdfNode* wood = AddStruct(Materials(), "Wood", "Material");
    AddColor(*wood, "Diffuse", 0.5f, 0.1f, 0.2f, 0.3f);
    AddColor(*wood, "Emissive", 1, 0.4f, 0, 0);
    wood->AddReal("Opacity", 0.75f);
    wood->AddString("TwoSided", "no");
    AddStruct(Materials(), "Plain", "Material")->AddInt("Unused", 0);
    AddSquareMesh(Children(), "Table", 0, 0, 1, 5)->AddString("MaterialName", "Wood");
    AddSquareMesh(Children(), "Chair", 0, 0, 1, 5)->AddString("MaterialName", "Nowhere");
    ASSERT_TRUE(Load());

    StateBlock block;
    ASSERT_TRUE(scene_->materials().find("Wood", block));
    EXPECT_EQ(block.material.Diffuse, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0.5f}));
    EXPECT_EQ(block.material.Emissive, (D3DCOLORVALUE{0.4f, 0, 0, 1}));
    EXPECT_EQ(block.cullMode, D3DCULL_NONE);
    EXPECT_FLOAT_EQ(block.opacity, 0.75f);
    ASSERT_TRUE(scene_->materials().find("Plain", block));
    EXPECT_EQ(block.cullMode, D3DCULL_CCW);
    EXPECT_EQ(MeshOf("Table")->getStateBlock().cullMode, D3DCULL_NONE);
    EXPECT_EQ(MeshOf("Chair")->getStateBlock().cullMode, D3DCULL_CCW);
}

TEST_F(SceneLoadTest, SubMaterialsBecomeStagesByIdWithTheKeywordsOfTheirNames) {
    WriteTga(PathOf("wood.tga"), 2, 2, {0xFF804020, 0xFF804020, 0xFF804020, 0xFF804020});
    WriteTga(PathOf("light.tga"), 2, 2, {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF});
    UdfNode* material = AddStruct(Materials(), "Cabinet", "Material");
    UdfNode* subs = AddStruct(*material, "Materials", "Material");
    auto sub = [&](const char* name, int id, const char* file) {
        UdfNode* s = AddStruct(*subs, name, "Material");
        s->AddInt("MaterialSubId", id);
        if (file) {
            UdfNode* slot = AddStruct(*AddStruct(*s, "Textures", "Texture"), "Map #1", "Diffuse");
            slot->AddString("FileName", file);
            slot->AddString("TexAddrU", "Mirror");
            slot->AddString("TexAddrV", "Clamp");
        }
        return s;
    };
    AddColor(*sub("Base", 0, "wood.tga"), "Diffuse", 1, 0.5f, 0.5f, 0.5f);
    sub("Cabinet lightmap", 1, "light.tga");
    sub("CHROME rim", 2, nullptr);
    sub("addsigned glow", 3, nullptr);
    sub("Plain", 4, "light.tga");
    sub("Overflow modulate", 8, "light.tga");
    ASSERT_TRUE(Load());

    StateBlock block;
    ASSERT_TRUE(scene_->materials().find("Cabinet", block));
    const StageState* s = block.stages;
    ASSERT_NE(s[0].texture, nullptr);
    EXPECT_EQ(s[0].colorOp, StageState::kAutomatic);
    EXPECT_EQ(s[0].addressU, D3DTADDRESS_MIRROR);
    EXPECT_EQ(s[0].addressV, D3DTADDRESS_BORDER);
    EXPECT_EQ(block.material.Diffuse.r, 0.5f);
    // The light map: MODULATE2X of CURRENT and its texture, coordinates from set 1.
    ASSERT_NE(s[1].texture, nullptr);
    EXPECT_NE(s[1].texture, s[0].texture);
    EXPECT_EQ(s[1].colorOp, D3DTOP_MODULATE2X);
    EXPECT_EQ(s[1].colorArg1, D3DTA_CURRENT);
    EXPECT_EQ(s[1].colorArg2, D3DTA_TEXTURE);
    EXPECT_EQ(s[1].texCoordIndex, 1u);
    // Chrome: sphere-mapped ADD, here of the diffuse colour as the stage has no texture.
    EXPECT_EQ(s[2].colorOp, D3DTOP_ADD);
    EXPECT_EQ(s[2].colorArg2, D3DTA_DIFFUSE);
    EXPECT_EQ(s[2].texCoordIndex, 2u | D3DTSS_TCI_SPHEREMAP);
    EXPECT_EQ(s[3].colorOp, D3DTOP_ADDSIGNED);
    // No keyword: the loaded stage 0 as it was, automatic.
    EXPECT_EQ(s[4].colorOp, StageState::kAutomatic);
    EXPECT_EQ(s[4].texCoordIndex, 4u);
    EXPECT_EQ(s[5].colorOp, D3DTOP_DISABLE);
    EXPECT_EQ(s[7].texture, nullptr);
}

TEST_F(SceneLoadTest, ATextureSlotWithoutAFileNameEndsItsMaterialWhichIsStillStored) {
    WriteTga(PathOf("a.tga"), 1, 1, {0xFFFFFFFF});
    UdfNode* material = AddStruct(Materials(), "Half", "Material");
    UdfNode* textures = AddStruct(*material, "Textures", "Texture");
    AddStruct(*textures, "Broken", "Diffuse")->AddString("TexAddrU", "Mirror");
    AddStruct(*textures, "Good", "Diffuse")->AddString("FileName", "a.tga");
    UdfNode* other = AddStruct(Materials(), "Bump only", "Material");
    AddStruct(*AddStruct(*other, "Textures", "Texture"), "Map", "Bump")->AddString("FileName", "a.tga");
    UdfNode* missing = AddStruct(Materials(), "Missing file", "Material");
    AddStruct(*AddStruct(*missing, "Textures", "Texture"), "Map", "Diffuse")->AddString("FileName", "nowhere.tga");
    ASSERT_TRUE(Load());

    StateBlock block;
    ASSERT_TRUE(scene_->materials().find("Half", block));
    EXPECT_EQ(block.stages[0].texture, nullptr);
    ASSERT_TRUE(scene_->materials().find("Bump only", block));
    EXPECT_EQ(block.stages[0].texture, nullptr);
    ASSERT_TRUE(scene_->materials().find("Missing file", block));
    EXPECT_EQ(block.stages[0].texture, nullptr);
}

TEST_F(SceneLoadTest, LightsArePlacedByTheirMatricesAndAnUnknownKindEndsTheSection) {
    UdfNode& lights = Lights();
    // Turned a quarter about x: the local -Y axis points along world -Z.
    const math::Mat4 turned = math::Multiply(math::RotationX(1.5707963f), math::Translation(1, 2, 3));
    UdfNode* point = AddNode(lights, "Lamp", "PointLight", turned);
    point->AddReal("AttStart", 4);
    point->AddReal("AttEnd", 10);
    AddColor(*point, "Diffuse", 1, 1, 0.5f, 0.25f);
    UdfNode* spot = AddNode(lights, "Spot", "SpotLight", math::Translation(0, 5, 0));
    spot->AddReal("HotSpot", 0.5f);
    spot->AddReal("FallOff", 0.8f);
    AddNode(lights, "Sun", "DirLight", math::Identity());
    AddNode(lights, "Glow", "AreaLight", math::Identity());
    AddNode(lights, "After", "PointLight", math::Identity());
    AddSquareMesh(Children(), "Floor", 0, 0, 1, 5);
    ASSERT_TRUE(Load());

    const LightList& list = scene_->lights();
    ASSERT_EQ(list.size(), 3u);
    const D3DLIGHT9& lamp = list[0]->light;
    EXPECT_EQ(list[0]->name, "Lamp");
    EXPECT_EQ(lamp.Type, D3DLIGHT_POINT);
    EXPECT_EQ(lamp.Position, (D3DVECTOR{1, 2, 3}));
    EXPECT_NEAR(lamp.Direction.z, -1, 1e-5);
    EXPECT_NEAR(lamp.Direction.y, 0, 1e-5);
    EXPECT_FLOAT_EQ(lamp.Attenuation1, 0.25f);
    EXPECT_FLOAT_EQ(lamp.Range, 10);
    EXPECT_EQ(lamp.Diffuse, (D3DCOLORVALUE{1, 0.5f, 0.25f, 1}));
    const D3DLIGHT9& spotRecord = list[1]->light;
    EXPECT_EQ(spotRecord.Type, D3DLIGHT_SPOT);
    EXPECT_FLOAT_EQ(spotRecord.Theta, 0.5f);
    EXPECT_FLOAT_EQ(spotRecord.Phi, 0.8f);
    EXPECT_EQ(spotRecord.Direction, (D3DVECTOR{0, -1, 0}));
    // Without AttStart a light keeps its strength (never all-zero attenuation) and its range is 0.
    EXPECT_FLOAT_EQ(spotRecord.Attenuation0, 1);
    EXPECT_FLOAT_EQ(spotRecord.Range, 0);
    EXPECT_EQ(list[2]->light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_NE(MeshOf("Floor"), nullptr);
}

TEST_F(SceneLoadTest, ALightThatDoesNotDecomposeEndsTheSectionButNotTheLoad) {
    AddNode(Lights(), "First", "DirLight", math::Identity());
    AddNode(Lights(), "Squashed", "PointLight", math::Scaling(0, 0, 0));
    AddNode(Lights(), "Later", "DirLight", math::Identity());
    ASSERT_TRUE(Load());
    ASSERT_EQ(scene_->lights().size(), 1u);
    EXPECT_EQ(scene_->lights()[0]->name, "First");
}

}  // namespace
