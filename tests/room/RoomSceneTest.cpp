// The room's scene file: the nodes the application looks for, and meshes the loader accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "RoomMedia.h"
#include "common/math/Math.h"
#include "media/Manifest.h"

using namespace roomtest;

namespace {

class RoomScene : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file_ = new BinaryFile(LoadBinary(MediaDir() + "/clock.UDF"));
        nodes_ = new std::vector<SceneEntry>(file_->root ? SceneNodes(*file_->root) : std::vector<SceneEntry>{});
    }
    static void TearDownTestSuite() {
        delete nodes_;
        delete file_;
    }
    static const SceneEntry* Find(const std::string& name) {
        for (const SceneEntry& e : *nodes_)
            if (e.name == name) return &e;
        return nullptr;
    }
    static std::vector<math::Vec3> Positions(const UdfNode& node) {
        std::vector<math::Vec3> out;
        const UdfNode* verts = node.FindChild("Verts");
        const uint32_t stride = FvfStride(node.FindChild("FVF")->AsInt());
        for (uint32_t v = 0; v * stride < verts->Size(); ++v)
            out.push_back({FloatAt(verts, v * stride / 4), FloatAt(verts, v * stride / 4 + 1), FloatAt(verts, v * stride / 4 + 2)});
        return out;
    }
    static math::Mat4 Matrix(const UdfNode* node) {
        math::Mat4 m;
        for (uint32_t i = 0; i < 16; ++i) m(static_cast<int>(i / 4), static_cast<int>(i % 4)) = FloatAt(node, i);
        return m;
    }
    static inline BinaryFile* file_ = nullptr;
    static inline std::vector<SceneEntry>* nodes_ = nullptr;
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

TEST_F(RoomScene, NamedNodesStandEachInATopLevelSubtreeOfTheirOwnWithUniqueNames) {
    ASSERT_TRUE(file_->root);
    // Names match without regard to case and a second node of a name would merge into the
    // first, so every name must be unique that way.
    std::set<std::string> seen;
    for (const SceneEntry& e : *nodes_) EXPECT_TRUE(seen.insert(Lower(e.name)).second) << e.name;
    for (const char* name : {manifest::kHourHandNode, manifest::kMinuteHandNode, manifest::kClockGlassNode, manifest::kLampNode, manifest::kCurtainNode, manifest::kOutdoorNode}) {
        const SceneEntry* e = Find(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->parent, nullptr) << name << " must be a top-level node: the application takes its subtree out";
        EXPECT_EQ(Text(e->node->FindChild("MaterialName")).empty(), false) << name;
        EXPECT_TRUE(e->node->FindChild("Verts")) << name;
    }
    ASSERT_NE(Find(manifest::kPictureNode), nullptr);
    EXPECT_EQ(std::string(Find(manifest::kPictureNode)->node->TypeName().c_str()), "Mesh");
}

TEST_F(RoomScene, HandsLieInTheirPlaneAboutThePivotAndTurnClockwiseFromTwelve) {
    for (const char* name : {manifest::kHourHandNode, manifest::kMinuteHandNode}) {
        const SceneEntry* e = Find(name);
        ASSERT_NE(e, nullptr);
        const std::vector<math::Vec3> p = Positions(*e->node);
        math::Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
        for (const math::Vec3& v : p) {
            lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
            hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
        }
        EXPECT_LT(lo.x, 0.0f);
        EXPECT_GT(hi.x, 0.0f);
        EXPECT_LT(lo.z, 0.0f);
        EXPECT_GT(hi.z, 0.0f);
        EXPECT_GE(lo.y, 0.0f);
        EXPECT_LT(hi.y, 1.0f) << name << " must lie flat in its x-z plane";
        // The tip at rest, then as the room sees it after the application's rotation.
        const bool hour = std::strcmp(name, manifest::kHourHandNode) == 0;
        const math::Vec3 tip = hour ? math::Vec3{0, 0, hi.z} : math::Vec3{hi.x, 0, 0};
        EXPECT_GT(hour ? hi.z : hi.x, 8.0f);
        const math::Mat4 node = Matrix(e->node->FindChild("NodeTM"));
        const auto shown = [&](float angle) {
            return math::TransformCoord(tip, math::Multiply(math::RotationAxis({0, 1, 0}, angle), node)) -
                   math::Vec3{node(3, 0), node(3, 1), node(3, 2)};
        };
        const float twelve = hour ? 0.0f : -1.5707963f;
        EXPECT_GT(shown(twelve).y, 7.0f) << name << " shows 12 at its resting angle";
        // A quarter turn later it points to 3 o'clock: the room's right, which is -z here.
        EXPECT_LT(shown(twelve + 1.5707963f).z, -7.0f) << name;
        EXPECT_NEAR(node(3, 1), 165.0f, 1.0f);
        EXPECT_GT(node(3, 0), 160.0f);  // on the dial, at the far wall
    }
}

TEST_F(RoomScene, CurtainIsSkinnedToBonesFoundBelowIt) {
    const SceneEntry* curtain = Find(manifest::kCurtainNode);
    ASSERT_NE(curtain, nullptr);
    const UdfNode& mesh = *curtain->node;
    const UdfNode* names = mesh.FindChild("BoneNames");
    ASSERT_NE(names, nullptr);
    ASSERT_GE(names->ChildCount(), 8u);
    const uint32_t bones = names->ChildCount();
    for (uint32_t b = 0; b < bones; ++b) {
        const std::string bone = Text(names->FindChild(std::to_string(b)));
        const SceneEntry* e = Find(bone);
        ASSERT_NE(e, nullptr) << bone;
        EXPECT_EQ(Lower(e->node->TypeName().c_str()), "bone");
        // Below the curtain, so the traversal that draws it also moves its bones.
        const UdfNode* p = e->parent;
        while (p && p != curtain->node) {
            const auto up = std::find_if(nodes_->begin(), nodes_->end(), [&](const SceneEntry& s) { return s.node == p; });
            p = up == nodes_->end() ? nullptr : up->parent;
        }
        EXPECT_EQ(p, curtain->node) << bone;
        EXPECT_TRUE(e->node->FindChild("Animation")) << bone << " sways";
    }
    const auto numVerts = static_cast<uint32_t>(mesh.FindChild("NumVerts")->AsInt());
    const UdfNode* offs = mesh.FindChild("VertBoneOffs");
    const UdfNode* nums = mesh.FindChild("VertBoneNums");
    const UdfNode* weights = mesh.FindChild("BoneWeights");
    ASSERT_TRUE(offs && nums && weights);
    ASSERT_EQ(offs->Size(), numVerts * 4);
    ASSERT_EQ(nums->Size(), numVerts * 4);
    const uint32_t records = weights->Size() / 8;
    for (uint32_t v = 0; v < numVerts; ++v) {
        int32_t first, count;
        std::memcpy(&first, offs->Data() + 4 * v, 4);
        std::memcpy(&count, nums->Data() + 4 * v, 4);
        ASSERT_GE(first, 0);
        ASSERT_LE(static_cast<uint32_t>(first + count), records);
        float sum = 0;
        for (int32_t k = 0; k < count; ++k) {
            int32_t bone;
            std::memcpy(&bone, weights->Data() + 8 * static_cast<uint32_t>(first + k), 4);
            ASSERT_LT(static_cast<uint32_t>(bone), bones);
            sum += FloatAt(weights, 2 * static_cast<uint32_t>(first + k) + 1);
        }
        ASSERT_NEAR(sum, 1.0f, 1e-4f) << "vertex " << v;
    }
}

TEST_F(RoomScene, TransparentAndGlowingPartsCarryTheirRenderKeys) {
    const UdfNode* glass = Find(manifest::kClockGlassNode)->node;
    EXPECT_EQ(Text(glass->FindChild("AlphaUse")), "factor");
    ASSERT_TRUE(glass->FindChild("Alpha"));
    EXPECT_GE(glass->FindChild("Alpha")->AsReal(), 0.15f);
    EXPECT_LE(glass->FindChild("Alpha")->AsReal(), 0.25f);
    EXPECT_EQ(Text(Find(manifest::kLampNode)->node->FindChild("Blend")), "additive");
    const UdfNode* outdoor = Find(manifest::kOutdoorNode)->node;
    EXPECT_EQ(Text(outdoor->FindChild("Lit")), "1");
    EXPECT_TRUE(outdoor->FindChild("FVF")->AsInt() & 0x10) << "lit by the ambient colour needs normals";
    // The landscape lies beyond the window, facing the room.
    for (const math::Vec3& p : Positions(*outdoor)) EXPECT_GT(p.x, 216.0f);
}

TEST_F(RoomScene, PendulumSwingsSeamlesslyAboutItsPivot) {
    const SceneEntry* e = Find("Pendulum");
    ASSERT_NE(e, nullptr);
    const UdfNode* track = e->node->FindChild("Animation") ? e->node->FindChild("Animation")->FindChild("Rotation") : nullptr;
    ASSERT_NE(track, nullptr);
    ASSERT_GE(track->ChildCount(), 9u);
    float firstAngle = 0, lastAngle = 0, maxAngle = 0, lastTime = -1;
    for (uint32_t k = 0; k < track->ChildCount(); ++k) {
        const UdfNode* key = track->FindChild(std::to_string(k));
        ASSERT_TRUE(key);
        ASSERT_EQ(key->Size(), 32u);
        EXPECT_GT(FloatAt(key, 0), lastTime);
        lastTime = FloatAt(key, 0);
        EXPECT_FLOAT_EQ(FloatAt(key, 2), 0.0f);  // about x only: the swing stays in the clock's plane
        EXPECT_FLOAT_EQ(FloatAt(key, 3), 0.0f);
        const float angle = 2 * std::asin(FloatAt(key, 1));
        if (k == 0) firstAngle = angle;
        lastAngle = angle;
        maxAngle = std::max(maxAngle, std::fabs(angle));
    }
    EXPECT_NEAR(firstAngle, lastAngle, 1e-5f);
    EXPECT_GT(maxAngle, 0.05f);
    EXPECT_LT(maxAngle, 0.15f);
    // The rod and bob hang below the pivot, behind the trunk's glass.
    for (const math::Vec3& p : Positions(*e->node)) EXPECT_LE(p.y, 2.0f);
}

// The device culls counter-clockwise triangles: each must wind clockwise seen from the side its
// normals face, or the surface vanishes from the room.
TEST_F(RoomScene, TrianglesFaceTheSideTheirNormalsFace) {
    for (const SceneEntry& e : *nodes_) {
        const UdfNode& n = *e.node;
        if (!n.FindChild("Verts") || Text(n.FindChild("MaterialName")) == "Lampshade") continue;
        const UdfNode* verts = n.FindChild("Verts");
        const UdfNode* indexes = n.FindChild("Indexes");
        const uint32_t stride = FvfStride(n.FindChild("FVF")->AsInt()) / 4;
        const auto indexSize = static_cast<uint32_t>(n.FindChild("IndexSize")->AsInt());
        int wrong = 0;
        const uint32_t count = indexes->Size() / indexSize;
        for (uint32_t t = 0; t + 2 < count; t += 3) {
            math::Vec3 p[3], normal{};
            for (uint32_t k = 0; k < 3; ++k) {
                uint32_t i = 0;
                std::memcpy(&i, indexes->Data() + (t + k) * indexSize, indexSize);
                p[k] = {FloatAt(verts, i * stride), FloatAt(verts, i * stride + 1), FloatAt(verts, i * stride + 2)};
                normal += math::Vec3{FloatAt(verts, i * stride + 3), FloatAt(verts, i * stride + 4), FloatAt(verts, i * stride + 5)};
            }
            if (math::Dot(math::Cross(p[1] - p[0], p[2] - p[0]), normal) <= 0) ++wrong;
        }
        EXPECT_EQ(wrong, 0) << e.name;
    }
}

TEST_F(RoomScene, EveryMeshPassesTheLoadersChecks) {
    size_t triangles = 0;
    int meshes = 0;
    for (const SceneEntry& e : *nodes_) {
        const UdfNode& n = *e.node;
        if (std::string(n.TypeName().c_str()) != "Mesh") continue;
        ++meshes;
        SCOPED_TRACE(e.name);
        const int32_t fvf = n.FindChild("FVF")->AsInt();
        const auto numVerts = static_cast<uint32_t>(n.FindChild("NumVerts")->AsInt());
        const auto numIndexes = static_cast<uint32_t>(n.FindChild("NumIndexes")->AsInt());
        const auto indexSize = static_cast<uint32_t>(n.FindChild("IndexSize")->AsInt());
        ASSERT_TRUE(fvf == 0x212 || fvf == 0x152 || fvf == 0x112);
        ASSERT_GT(numVerts, 0u);
        EXPECT_EQ(n.FindChild("Verts")->Size(), numVerts * FvfStride(fvf));
        ASSERT_TRUE(indexSize == 2 || indexSize == 4);
        ASSERT_EQ(n.FindChild("Indexes")->Size(), numIndexes * indexSize);
        EXPECT_EQ(numIndexes % 3, 0u);
        for (uint32_t i = 0; i < numIndexes; ++i) {
            uint32_t index = 0;
            std::memcpy(&index, n.FindChild("Indexes")->Data() + i * indexSize, indexSize);
            ASSERT_LT(index, numVerts);
        }
        triangles += numIndexes / 3;
    }
    EXPECT_GT(meshes, 20);
    EXPECT_GE(triangles, 20000u);
    EXPECT_LE(triangles, 80000u);
}

}  // namespace
