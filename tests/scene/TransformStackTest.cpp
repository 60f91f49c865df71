#include "scene/TransformStack.h"

#include "SceneTestSupport.h"
#include "platform/sys/Clock.h"
#include "scene/SceneNode.h"

using math::Mat4;

namespace {

// Records the time it was evaluated at and contributes a fixed matrix.
class TimeProbe final : public TransformComponent {
public:
    explicit TimeProbe(int id) : TransformComponent(id) {}
    void multiplyInto(Matrix& product, const AnimationTime& time) override {
        seen = time;
        product = product * Matrix::Translation({0, time.seconds, 0});
    }
    AnimationTime seen;
};

}  // namespace

TEST(TransformStack, MultipliesComponentsInListOrderAndFindsThemById) {
    Matrix scale = Matrix::Scaling({2, 2, 2});
    Matrix move = Matrix::Translation({1, 0, 0});
    TransformStack stack;
    stack.addMatrix(10, &move);
    stack.insert(0, std::make_unique<MatrixComponent>(20, &scale));
    stack.insert(99, std::make_unique<MatrixComponent>(30, &move));
    ASSERT_EQ(stack.size(), 3u);
    EXPECT_EQ(stack.indexOf(20), 0);
    EXPECT_EQ(stack.indexOf(30), 2);
    EXPECT_EQ(stack.indexOf(5), -1);

    // Scale first, then two moves: (1, 1, 1) -> (2, 2, 2) -> (4, 2, 2).
    Matrix product;
    stack.evaluate({}, product);
    ExpectNear(math::TransformCoord({1, 1, 1}, product.m), {4, 2, 2});
    // The components read their source when evaluated.
    move = Matrix::Translation({0, 1, 0});
    stack.evaluate({}, product);
    ExpectNear(math::TransformCoord({1, 1, 1}, product.m), {2, 4, 2});

    EXPECT_TRUE(stack.remove(20));
    EXPECT_FALSE(stack.remove(20));
    EXPECT_EQ(stack.find(20), nullptr);
    EXPECT_EQ(stack.find(30)->id(), 30);
}

TEST(TransformStack, PassesTheAnimationTimeToEveryComponent) {
    TransformStack stack;
    auto probe = std::make_unique<TimeProbe>(1);
    TimeProbe* seen = probe.get();
    stack.add(std::move(probe));
    Matrix product;
    stack.evaluate({true, 2.5f}, product);
    EXPECT_TRUE(seen->seen.isExplicit);
    EXPECT_EQ(seen->seen.seconds, 2.5f);
    ExpectNear(product.TranslationRow(), {0, 2.5f, 0});
}

TEST(TransformStack, BlendsAWindowOfComponentsFromItsOldToItsNewPoseOverTime) {
    sys::TestClock clock(1000);
    sys::ScopedClock useClock(clock);
    Matrix before = Matrix::Scaling({2, 2, 2});
    Matrix moving = Matrix::Translation({0, 0, 0});
    Matrix after = Matrix::Translation({0, 0, 5});
    TransformStack stack;
    stack.addMatrix(1, &before);
    stack.addMatrix(2, &moving);
    stack.addMatrix(3, &after);

    stack.startBlend(1, 1, 1000);
    moving = Matrix::Translation({10, 0, 0});
    Matrix product;
    stack.evaluate({}, product);
    ExpectNear(product.TranslationRow(), {0, 0, 5});
    clock.AdvanceMs(250);
    stack.evaluate({}, product);
    // The window sits between the other components: scaled by the first, then moved by the last.
    ExpectNear(math::TransformCoord({1, 0, 0}, product.m), {2 + 2.5f, 0, 5});
    EXPECT_TRUE(stack.isBlending());
    clock.AdvanceMs(5000);
    stack.evaluate({}, product);
    ExpectNear(math::TransformCoord({1, 0, 0}, product.m), {12, 0, 5});
    EXPECT_FALSE(stack.isBlending());

    // A window running past the end is cut at the end; no duration means no blend.
    stack.startBlend(2, 100, 1000);
    EXPECT_TRUE(stack.isBlending());
    stack.startBlend(0, 1, 0);
    EXPECT_FALSE(stack.isBlending());
}

TEST(TransformStack, PartsModeSwapsComponent100ForTheFourPartsAndGivesTheSameWorld) {
    SceneNode node;
    node.getTransform().setScale({2, 1, 1});
    node.getTransform().setZAxis({1, 0, 0});
    node.getTransform().setYAxis({0, 1, 0});
    node.getTransform().setPosition({3, 4, 5});
    node.getTransform().setPre(Matrix::Translation({0, 1, 0}));
    RenderContext context;
    context.flags = RenderContext::kTransformsOnly;
    node.render(context);
    const Mat4 whole = node.getWorldMatrix().m;

    node.setPartsMode(true);
    TransformStack& stack = node.getTransformStack();
    ASSERT_EQ(stack.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(stack.at(static_cast<size_t>(i)).id(), SceneNode::kPreComponent + i);
    node.render(context);
    ExpectNear(node.getWorldMatrix().m, whole);

    node.setPartsMode(false);
    ASSERT_EQ(stack.size(), 1u);
    EXPECT_EQ(stack.at(0).id(), SceneNode::kLocalComponent);
}
