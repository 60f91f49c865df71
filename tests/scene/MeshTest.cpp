// Meshes: buffer descriptors, buffers filled from the file's bytes, drawing, skinning, device
// loss, and every check that refuses a damaged mesh.

#include <cstring>

#include "SceneFixture.h"
#include "SceneTestSupport.h"
#include "platform/gfx/States.h"

using namespace gfx;
using namespace scenefiles;

namespace {

MeshData MeshOfSize(uint32_t numVerts, uint32_t stride, uint32_t numIndexes) {
    MeshData mesh;
    mesh.numVerts = numVerts;
    mesh.stride = stride;
    mesh.numIndexes = numIndexes;
    mesh.fvf = kFvf;
    return mesh;
}

TEST(MeshBuffers, UsageWordsAndDefaultsGiveTheDocumentedUsagesAndPools) {
    const MeshData mesh = MeshOfSize(4, 40, 6);
    BufferDescriptor vb, ib;
    DescribeMeshBuffers(mesh, false, nullptr, false, vb, ib);
    EXPECT_EQ(vb.usage, D3DUSAGE_WRITEONLY);
    EXPECT_EQ(ib.usage, D3DUSAGE_WRITEONLY);
    EXPECT_EQ(vb.pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(vb.size, 160u);
    DescribeMeshBuffers(mesh, true, nullptr, false, vb, ib);
    EXPECT_EQ(vb.usage, D3DUSAGE_DYNAMIC);
    EXPECT_EQ(vb.pool, D3DPOOL_SYSTEMMEM);
    DescribeMeshBuffers(mesh, false, "dynamic vb_writeonly", false, vb, ib);
    EXPECT_EQ(vb.usage, 0x208u);
    EXPECT_EQ(ib.usage, 0x200u);
    DescribeMeshBuffers(mesh, false, "dynamic_writeonly", false, vb, ib);
    EXPECT_EQ(vb.usage, 0x208u);
    EXPECT_EQ(ib.usage, 0x208u);
    DescribeMeshBuffers(mesh, true, "static ib_dynamic", false, vb, ib);
    EXPECT_EQ(vb.usage, 0x8u);
    EXPECT_EQ(ib.usage, 0x208u);
    DescribeMeshBuffers(mesh, false, "", false, vb, ib);
    EXPECT_EQ(vb.usage, 0u);
}

TEST(MeshBuffers, IndexFormatFollowsTheCountAndAlignmentWidensTheStride) {
    BufferDescriptor vb, ib;
    DescribeMeshBuffers(MeshOfSize(100, 36, 32767), false, nullptr, true, vb, ib);
    EXPECT_EQ(ib.indexFormat, D3DFMT_INDEX16);
    EXPECT_EQ(ib.size, 32767u * 2);
    EXPECT_EQ(vb.stride, 64u);
    EXPECT_EQ(vb.size, 6400u);
    DescribeMeshBuffers(MeshOfSize(100, 36, 32768), false, nullptr, false, vb, ib);
    EXPECT_EQ(ib.indexFormat, D3DFMT_INDEX32);
    EXPECT_EQ(ib.size, 32768u * 4);
    EXPECT_EQ(vb.stride, 36u);
    // Few indices over more vertices than 16 bits reach still need 32-bit indices.
    DescribeMeshBuffers(MeshOfSize(70000, 12, 3), false, nullptr, false, vb, ib);
    EXPECT_EQ(ib.indexFormat, D3DFMT_INDEX32);
}

class MeshTest : public SceneTest {
protected:
    // The bytes of a vertex range's buffer.
    static const uint8_t* BytesOf(const BufferRange* range) {
        return range->vertexBuffer ? range->vertexBuffer->Bytes() + range->offset
                                   : range->indexBuffer->Bytes() + range->offset;
    }

    static math::Vec3 PositionIn(const BufferRange* range, uint32_t vertex) {
        float p[3];
        std::memcpy(p, BytesOf(range) + vertex * range->descriptor.stride, sizeof(p));
        return {p[0], p[1], p[2]};
    }
};

TEST_F(MeshTest, AStaticMeshIsCopiedIntoWriteOnlyBuffersAndDrawnAsIndexedTriangles) {
    std::vector<Vertex> vertices;
    std::vector<uint16_t> indices;
    Square(0, 0, 1, 5, vertices, indices);
    Square(3, 0, 1, 5, vertices, indices);
    AddMesh(Children(), "Panel", math::Translation(0, 0, 1), vertices, indices);
    ASSERT_TRUE(Load());

    MeshRenderable* mesh = MeshOf("Panel");
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(Called("CreateVertexBuffer(320, 8, 530, 0)"));
    EXPECT_TRUE(Called("CreateIndexBuffer(24, 8, 101, 0)"));
    EXPECT_EQ(std::memcmp(BytesOf(mesh->vertexRange()), vertices.data(), 320), 0);
    EXPECT_EQ(std::memcmp(BytesOf(mesh->indexRange()), indices.data(), 24), 0);
    EXPECT_TRUE(mesh->meshData().vertexBytes.tookOver());
    ExpectNear(mesh->meshData().box.min, {-1, -1, 5});
    ExpectNear(mesh->meshData().box.max, {4, 1, 5});

    RenderContext context;
    device_.ClearCalls();
    ASSERT_TRUE(scene_->root().render(context));
    ExpectNear(mesh->getBounds().min, {-1, -1, 6});
    EXPECT_TRUE(Called("SetFVF(530)"));
    EXPECT_TRUE(Called("DrawIndexedPrimitive(4, 0, 0, 8, 0, 4)"));
    EXPECT_EQ(device_.Transform(D3DTS_WORLD), math::Translation(0, 0, 1));
}

TEST_F(MeshTest, AlignedVerticesAreWidenedWithZerosAndThirtyTwoBitSourceIndicesConverted) {
    std::vector<Vertex> vertices;
    std::vector<uint16_t> indices;
    Square(0, 0, 1, 5, vertices, indices);
    UdfNode* mesh = AddMesh(Children(), "Wide", math::Identity(), vertices, indices);
    mesh->AddString("VertexAlign32", "1");
    const std::vector<uint32_t> wide(indices.begin(), indices.end());
    delete mesh->Detach("Indexes");
    AddRaw(*mesh, "Indexes", "byte", wide);
    mesh->FindChild("IndexSize")->TakeData(std::unique_ptr<uint8_t[]>(new uint8_t[4]{4, 0, 0, 0}), 4);
    ASSERT_TRUE(Load());

    const MeshRenderable* renderable = MeshOf("Wide");
    ASSERT_NE(renderable, nullptr);
    const BufferRange* range = renderable->vertexRange();
    EXPECT_EQ(range->descriptor.stride, 64u);
    for (uint32_t v = 0; v < 4; ++v) {
        EXPECT_EQ(std::memcmp(BytesOf(range) + v * 64, &vertices[v], sizeof(Vertex)), 0);
        for (uint32_t b = sizeof(Vertex); b < 64; ++b) EXPECT_EQ(BytesOf(range)[v * 64 + b], 0) << v << "," << b;
    }
    EXPECT_EQ(std::memcmp(BytesOf(renderable->indexRange()), indices.data(), 12), 0);
}

class SkinTest : public MeshTest {
protected:
    // Four bones along x and a strip of vertices above them: vertex i on bone i, vertex 4 shared
    // half and half by bones 2 and 3, vertex 5 on no bone.
    void BuildStrip(const std::vector<const char*>& boneNames) {
        UdfNode& children = Children();
        for (int i = 0; i < 4; ++i)
            AddNode(children, ("Bone" + std::to_string(i)).c_str(), "Bone", math::Translation(float(i), 0, 0));
        std::vector<Vertex> vertices;
        for (int i = 0; i < 4; ++i) vertices.push_back({float(i), 1, 0, 0, 0, -1, 0, 0, 0, 0});
        vertices.push_back({2.5f, 1, 0, 0, 0, -1, 0, 0, 0, 0});
        vertices.push_back({1, 2, 0, 0, 0, -1, 0, 0, 0, 0});
        const std::vector<uint16_t> indices = {0, 1, 4, 1, 2, 4, 2, 3, 4, 0, 5, 1};
        UdfNode* mesh = AddMesh(children, "Strip", math::Identity(), vertices, indices);
        AddSkin(*mesh, boneNames, {{{0, 1}}, {{1, 1}}, {{2, 1}}, {{3, 1}}, {{2, 0.5f}, {3, 0.5f}}, {}});
    }
};

TEST_F(SkinTest, BonesMoveTheirVerticesAndAVertexWithoutInfluencesSitsAtTheOrigin) {
    BuildStrip({"Bone0", "Bone1", "bone2", "BONE3"});
    ASSERT_TRUE(Load());
    ASSERT_EQ(scene_->skinnedRenderables().size(), 1u);
    auto* strip = scene_->skinnedRenderables()[0];
    EXPECT_EQ(strip->boundBones(), 4u);
    EXPECT_TRUE(Called("CreateVertexBuffer(240, 512, 530, 2)"));

    // Bones move away from their rest pose through the stack, as animations move them.
    SceneNode* bone = scene_->root().find("Bone3");
    bone->getSpareMatrix() = Matrix::Translation({0, 2, 0});
    bone->getTransformStack().addMatrix(1, &bone->getSpareMatrix());
    RenderContext context;
    context.flags = RenderContext::kSkipVisibility;
    ASSERT_TRUE(scene_->root().render(context));
    EXPECT_TRUE(Called("DrawIndexedPrimitive(4, 0, 0, 6, 0, 4)"));
    const BufferRange* range = strip->vertexRange();
    ExpectNear(PositionIn(range, 0), {0, 1, 0});
    ExpectNear(PositionIn(range, 2), {2, 1, 0});
    ExpectNear(PositionIn(range, 3), {3, 3, 0});
    ExpectNear(PositionIn(range, 4), {2.5f, 2, 0});
    ExpectNear(PositionIn(range, 5), {0, 0, 0});
    // Only positions change: the normal stays as copied.
    float normal[3];
    std::memcpy(normal, BytesOf(range) + 3 * sizeof(Vertex) + 12, sizeof(normal));
    EXPECT_EQ(normal[2], -1.0f);
    EXPECT_EQ(device_.Transform(D3DTS_WORLD), math::Identity());
    // The box covers the moved bone's vertices (and the origin).
    EXPECT_GE(strip->getBounds().max.y, 3.0f);
    EXPECT_LE(strip->getBounds().min.x, 0.0f);
}

TEST_F(SkinTest, AMissingBoneFailsTheWholeLoad) {
    BuildStrip({"Bone0", "Bone1", "Bone2", "Tail"});
    EXPECT_FALSE(Load());
    EXPECT_EQ(scene_->skinnedRenderables()[0]->boundBones(), 0u);
}

TEST_F(MeshTest, BuffersAreMadeAgainAndRefilledAfterALossAndOnADeviceMadeAnew) {
    AddSquareMesh(Children(), "Floor", 0, 0, 1, 5);
    ASSERT_TRUE(Load());
    MeshRenderable* mesh = MeshOf("Floor");
    std::vector<uint8_t> before(BytesOf(mesh->vertexRange()), BytesOf(mesh->vertexRange()) + 160);

    scene_->onDeviceLost();
    EXPECT_TRUE(mesh->vertexRange()->isLost());
    EXPECT_FALSE(mesh->draw());
    device_.ClearCalls();
    ASSERT_TRUE(scene_->onDeviceReset());
    EXPECT_EQ(device_.CountCalls("CreateVertexBuffer"), 1u);
    EXPECT_EQ(device_.CountCalls("CreateIndexBuffer"), 1u);
    EXPECT_EQ(std::memcmp(BytesOf(mesh->vertexRange()), before.data(), before.size()), 0);
    EXPECT_TRUE(mesh->draw());

    RecordingDevice fresh;
    scene_->onDeviceLost();
    PublishDevice(&fresh);
    ASSERT_TRUE(scene_->onDeviceReset());
    EXPECT_EQ(fresh.CountCalls("CreateVertexBuffer"), 1u);
    EXPECT_TRUE(mesh->draw());
    EXPECT_EQ(fresh.CountCalls("DrawIndexedPrimitive"), 1u);
    scene_->onDeviceLost();
    PublishDevice(&device_);
}

// Each damaged mesh is skipped: its node stays without a renderable and the rest loads.
TEST_F(MeshTest, DamagedMeshesAreSkippedWithoutReadingOutOfBounds) {
    UdfNode& children = Children();
    auto square = [&](const char* name) { return AddSquareMesh(children, name, 0, 0, 1, 5); };
    auto setInt = [](UdfNode* mesh, const char* key, int32_t value) {
        delete mesh->Detach(key);
        mesh->AddInt(key, value);
    };
    setInt(square("TooManyVerts"), "NumVerts", 5);
    setInt(square("TooFewVerts"), "NumVerts", 3);  // index 3 now lies beyond the vertices
    setInt(square("NegativeVerts"), "NumVerts", -4);
    setInt(square("OddIndexSize"), "IndexSize", 3);
    setInt(square("WideIndexSize"), "IndexSize", 4);
    setInt(square("TooManyIndexes"), "NumIndexes", 7);
    setInt(square("NoPosition"), "FVF", D3DFVF_NORMAL | D3DFVF_TEX2);
    setInt(square("UnknownBits"), "FVF", static_cast<int32_t>(kFvf | 0x1000));
    delete square("NoIndexCount")->Detach("NumIndexes");
    delete square("NoVerts")->Detach("Verts");
    {
        std::vector<Vertex> vertices;
        std::vector<uint16_t> indices;
        Square(0, 0, 1, 5, vertices, indices);
        indices[4] = 9;
        AddMesh(children, "IndexOutOfRange", math::Identity(), vertices, indices);
    }
    auto skinned = [&](const char* name, const std::vector<std::vector<Influence>>& influences) {
        AddSkin(*square(name), {"Good"}, influences);
    };
    AddNode(children, "Good", "Bone", math::Identity());
    skinned("BoneOutOfRange", {{{0, 1}}, {{1, 1}}, {{0, 1}}, {{0, 1}}});
    skinned("NegativeBone", {{{-1, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}});
    skinned("ShortCounts", {{{0, 1}}, {{0, 1}}, {{0, 1}}});
    {
        UdfNode* mesh = square("CountPastRecords");
        AddSkin(*mesh, {"Good"}, {{{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}});
        delete mesh->Detach("VertBoneNums");
        AddRaw(*mesh, "VertBoneNums", "int", std::vector<int32_t>{1, 1, 1, 2});
    }
    {
        UdfNode* mesh = square("OffsetPastRecords");
        AddSkin(*mesh, {"Good"}, {{{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}});
        delete mesh->Detach("VertBoneOffs");
        AddRaw(*mesh, "VertBoneOffs", "int", std::vector<int32_t>{0, 1, 2, 4});
    }
    {
        UdfNode* mesh = square("NegativeCount");
        AddSkin(*mesh, {"Good"}, {{{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}});
        delete mesh->Detach("VertBoneNums");
        AddRaw(*mesh, "VertBoneNums", "int", std::vector<int32_t>{1, 1, -1, 1});
    }
    skinned("GoodSkin", {{{0, 1}}, {{0, 1}}, {{0, 0.5f}, {0, 0.5f}}, {}});
    square("GoodStatic");
    ASSERT_TRUE(Load());

    for (const auto& child : scene_->rootChildren()) {
        const bool good = child->getName().view().substr(0, 4) == "Good";
        EXPECT_EQ(child->getRenderable() != nullptr, good && child->getType() == "Mesh") << child->getName().c_str();
    }
    EXPECT_EQ(scene_->rootChildren().size(), 20u);
}

}  // namespace
