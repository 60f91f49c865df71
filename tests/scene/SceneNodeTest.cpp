#include "scene/SceneNode.h"

#include "SceneTestSupport.h"

using math::Mat4;
using math::Vec3;

namespace {

std::unique_ptr<SceneNode> MakeNode(const char* name, Vec3 position = {}, const char* type = "Dummy") {
    auto node = std::make_unique<SceneNode>();
    node->setName(name);
    node->setType(type);
    node->getTransform().setPosition(position);
    return node;
}

}  // namespace

TEST(SceneNode, FindReturnsTheFirstNodeInPreOrderIgnoringCase) {
    SceneNode root;
    root.setName("Root");
    SceneNode* first = root.addChild(MakeNode("Clock"));
    SceneNode* deep = first->addChild(MakeNode("Clock glass"));
    root.addChild(MakeNode("clock GLASS"));
    EXPECT_EQ(root.find("CLOCK GLASS"), deep);
    // The node itself comes before its descendants.
    SceneNode* inner = deep->addChild(MakeNode("clock"));
    EXPECT_EQ(root.find("clock"), first);
    EXPECT_EQ(deep->find("CLOCK"), inner);
    EXPECT_EQ(root.find("Curtain"), nullptr);
    // A node without a name is found by the empty name.
    SceneNode* unnamed = first->addChild(std::make_unique<SceneNode>());
    EXPECT_EQ(root.find(""), unnamed);
    // Direct lookups are exact.
    EXPECT_EQ(root.findChild("Clock"), first);
    EXPECT_EQ(root.findChild("clock"), nullptr);
    EXPECT_EQ(root.findChild("Clock glass"), nullptr);
}

TEST(SceneNode, RenamingRefilesTheNodeUnderItsNewNameOnly) {
    SceneNode root;
    SceneNode* a = root.addChild(MakeNode("a"));
    root.addChild(MakeNode("b"));
    a->setName("renamed");
    EXPECT_EQ(root.findChild("renamed"), a);
    EXPECT_EQ(root.findChild("a"), nullptr);
    EXPECT_EQ(root.find("a"), nullptr);
    EXPECT_EQ(root.find("RENAMED"), a);
    EXPECT_EQ(a->getParent(), &root);
    ASSERT_EQ(root.children().size(), 2u);
    EXPECT_EQ(root.children()[1].get(), a);
}

TEST(SceneNode, RemovedChildrenAreHandedBackDetached) {
    SceneNode root;
    SceneNode* hand = root.addChild(MakeNode("hand"));
    hand->addChild(MakeNode("tip"));
    std::unique_ptr<SceneNode> removed = root.removeChild("hand");
    ASSERT_EQ(removed.get(), hand);
    EXPECT_EQ(removed->getParent(), nullptr);
    EXPECT_TRUE(root.children().empty());
    EXPECT_NE(removed->findChild("tip"), nullptr);
    EXPECT_EQ(root.removeChild("hand"), nullptr);
    EXPECT_TRUE(MakeNode("x", {}, "BONE")->isBone());
    EXPECT_FALSE(MakeNode("x", {}, "bones")->isBone());
}

TEST(SceneNode, TakesReplaceTheLiveTransformsDownTheTree) {
    SceneNode root;
    SceneNode* child = root.addChild(MakeNode("child"));
    SceneNode* grandchild = child->addChild(MakeNode("grandchild"));
    NodeTransform moved;
    moved.setPosition({1, 2, 3});
    NodeTransform offset;
    offset.setPre(Matrix::Translation({0, 0, 7}));
    root.addTake("walk", moved, &offset);
    grandchild->addTake("walk", moved, nullptr);
    grandchild->getObjectTransform().setPosition({5, 5, 5});
    child->getTransform().setPosition({9, 9, 9});

    root.applyTake("walk", false);
    EXPECT_EQ(root.getTransform().getPosition(), (Vec3{1, 2, 3}));
    EXPECT_EQ(root.getObjectTransform().getPre().m, Matrix::Translation({0, 0, 7}).m);
    EXPECT_EQ(grandchild->getTransform().getPosition(), (Vec3{}));

    root.applyTake("walk", true);
    // A node without the take keeps its transform; its descendants still get theirs.
    EXPECT_EQ(child->getTransform().getPosition(), (Vec3{9, 9, 9}));
    EXPECT_EQ(grandchild->getTransform().getPosition(), (Vec3{1, 2, 3}));
    // A take without an object transform has no object offset.
    EXPECT_EQ(grandchild->getObjectTransform().getMatrix().m, Mat4{});
    root.applyTake("run", true);
    EXPECT_EQ(root.getTransform().getPosition(), (Vec3{1, 2, 3}));
}

TEST(SceneNode, TraversalComposesWorldMatricesAndDrawsVisibleRenderables) {
    SceneNode root;
    root.getTransform().setPosition({10, 0, 0});
    SceneNode* near = root.addChild(MakeNode("near", {0, 1, 0}));
    near->getObjectTransform().setPosition({0, 0, 3});
    SceneNode* far = root.addChild(MakeNode("far", {100, 0, 0}));
    auto* nearMesh = new FakeRenderable;
    auto* farMesh = new FakeRenderable(false);
    near->setRenderable(std::unique_ptr<Renderable>(nearMesh));
    far->setRenderable(std::unique_ptr<Renderable>(farMesh));

    RenderContext context;
    context.currentWorld = Matrix::Translation({0, 0, 1});
    const FakeView view(50);
    context.view = &view;
    EXPECT_TRUE(root.render(context));
    // Local first, then the parent's world; the object offset moves only the geometry.
    ExpectNear(near->getWorldMatrix().TranslationRow(), {10, 1, 4});
    ExpectNear(nearMesh->getWorldMatrix().TranslationRow(), {10, 1, 4});
    ExpectNear(far->getWorldMatrix().TranslationRow(), {110, 0, 1});
    EXPECT_EQ(nearMesh->draws, 1);
    EXPECT_EQ(farMesh->draws, 0);
    EXPECT_EQ(farMesh->boundsUpdates, 1);
    ExpectNear(context.currentWorld.TranslationRow(), {0, 0, 1});

    // Skipping the visibility test draws the far mesh too, whose failure is reported.
    context.flags = RenderContext::kSkipVisibility;
    EXPECT_FALSE(root.render(context));
    EXPECT_EQ(nearMesh->draws, 2);
    EXPECT_EQ(farMesh->draws, 1);

    // With a sorter the visible renderables are collected, not drawn.
    FakeQueue queue;
    context.flags = 0;
    context.sorter = &queue;
    EXPECT_TRUE(root.render(context));
    ASSERT_EQ(queue.added.size(), 1u);
    EXPECT_EQ(queue.added[0], nearMesh);
    EXPECT_EQ(nearMesh->draws, 2);
}

TEST(SceneNode, TransformsOnlyUpdatesEveryWorldAndSkinMatrixAndDrawsNothing) {
    SceneNode root;
    SceneNode* upper = root.addChild(MakeNode("upper", {0, 2, 0}, "bone"));
    SceneNode* lower = upper->addChild(MakeNode("lower", {0, 3, 0}, "Bone"));
    auto* mesh = new FakeRenderable;
    lower->setRenderable(std::unique_ptr<Renderable>(mesh));
    root.bind();
    ExpectNear(lower->getInverseBindMatrix().TranslationRow(), {0, -5, 0});

    // Bend the lower bone by an animation that turns it a quarter about z.
    auto bend = std::make_shared<Animation>();
    bend->rotationTrack().addKey(AnimationKey::Rotation(0, math::QuatRotationAxis({0, 0, 1}, 1.5707964f)));
    lower->addAnimation("", bend);
    lower->playAnimation(0, "", false);

    FakeQueue queue;
    RenderContext context;
    context.flags = RenderContext::kTransformsOnly;
    context.sorter = &queue;
    root.render(context);
    EXPECT_EQ(mesh->draws, 0);
    EXPECT_EQ(mesh->boundsUpdates, 0);
    EXPECT_TRUE(queue.added.empty());
    // At rest the upper bone's skin matrix is the identity; the bent one rotates about its joint.
    ExpectNear(upper->getSkinMatrix().m, Mat4{});
    const Mat4& skin = lower->getSkinMatrix().m;
    ExpectNear(math::TransformCoord({0, 5, 0}, skin), {0, 5, 0});
    ExpectNear(math::TransformCoord({1, 5, 0}, skin), {0, 6, 0});
    ExpectNear(lower->getWorldMatrix().TranslationRow(), {0, 5, 0});
}

TEST(SceneNode, AMatrixThatDoesNotDecomposeStillRendersWhole) {
    Mat4 m;
    m(1, 0) = 1;  // rows 1 and 2 equal
    m(1, 1) = 0;
    m(3, 0) = 4;
    SceneNode node;
    EXPECT_FALSE(node.getTransform().decompose(Matrix::General(m)));
    RenderContext context;
    node.render(context);
    ExpectNear(node.getWorldMatrix().m, m);
}
