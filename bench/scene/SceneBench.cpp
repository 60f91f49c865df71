// Per-frame cost of the scene graph: animation evaluation and the render traversal, with the
// heap allocations each frame makes (the target is none once the first frame has run).

#include "platform/sys/Clock.h"
#include "scene/SceneNode.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "AllocationCounter.h"

namespace {

constexpr int64_t kFrameMs = 16;

class NullRenderable final : public Renderable {
public:
    void updateBounds() override {
        const math::Vec3 at = getWorldMatrix().TranslationRow();
        bounds_ = {at, at};
    }
    bool draw() override { return true; }
};

// Collects into storage reserved once, as a real sorter's buckets are after the first frame.
class CountingQueue final : public RenderQueue {
public:
    CountingQueue() { added_.reserve(4096); }
    void add(Renderable& renderable) override { added_.push_back(&renderable); }
    void clear() { added_.clear(); }

private:
    std::vector<Renderable*> added_;
};

std::shared_ptr<Animation> CurvedAnimation(std::mt19937& random, int keys) {
    std::uniform_real_distribution<float> value(-5, 5);
    auto animation = std::make_shared<Animation>();
    for (int k = 0; k < keys; ++k) {
        const float t = static_cast<float>(k) * 0.5f;
        animation->scaleTrack().addKey(AnimationKey::Vector(t, {1 + value(random) * 0.1f, 1, 1}, 0.1f, 0, 0, 0.2f));
        const math::Quat q = math::QuatRotationAxis({value(random), value(random), value(random)}, value(random));
        animation->rotationTrack().addKey(AnimationKey::Rotation(t, q, 0, 0.2f, 0));
        animation->positionTrack().addKey(AnimationKey::Vector(t, {value(random), value(random), value(random)}));
    }
    return animation;
}

// Runs one frame per iteration on a simulated clock and reports the allocations per frame
// after a warm-up frame.
template <typename Frame>
void RunFrames(benchmark::State& state, sys::TestClock& clock, const Frame& frame) {
    frame();
    const long before = AllocationCount();
    for (auto _ : state) {
        clock.AdvanceMs(kFrameMs);
        frame();
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations());
}

void BM_Evaluate200AnimatedNodes(benchmark::State& state) {
    sys::TestClock clock(0);
    sys::ScopedClock useClock(clock);
    std::mt19937 random(7);
    SceneNode root;
    for (int i = 0; i < 200; ++i) {
        auto node = std::make_unique<SceneNode>();
        node->setName(EngineString(int32_t{i}, 10));
        node->addAnimation("", CurvedAnimation(random, 12));
        root.addChild(std::move(node));
    }
    root.playAnimation(0, "", true);
    root.setFlags(SceneNode::kAllComponents, AnimationPlayer::kLoopPlayRange, true);
    TimeRange range;
    root.getAnimationRange(range);
    root.setPlayRange(SceneNode::kAllComponents, range, true);
    root.play(0, true);
    RenderContext context;
    context.flags = RenderContext::kTransformsOnly;
    RunFrames(state, clock, [&] { root.render(context); });
}
BENCHMARK(BM_Evaluate200AnimatedNodes)->Unit(benchmark::kMicrosecond);

// Ten top-level nodes of ten children, each with nineteen leaves: 2,010 nodes, all drawable.
void BM_Traverse2000Nodes(benchmark::State& state) {
    sys::TestClock clock(0);
    sys::ScopedClock useClock(clock);
    SceneNode root;
    int count = 1;
    for (int a = 0; a < 10; ++a) {
        SceneNode* top = root.addChild(std::make_unique<SceneNode>());
        top->getTransform().setPosition({static_cast<float>(a), 0, 0});
        for (int b = 0; b < 10; ++b) {
            SceneNode* mid = top->addChild(std::make_unique<SceneNode>());
            mid->getTransform().setYAxis({0, 1, 0.1f * b});
            mid->setType(b % 2 ? "bone" : "Mesh");
            for (int c = 0; c < 19; ++c) {
                SceneNode* leaf = mid->addChild(std::make_unique<SceneNode>());
                leaf->getTransform().setPosition({0, static_cast<float>(c), 0});
                leaf->setRenderable(std::make_unique<NullRenderable>());
                ++count;
            }
            ++count;
        }
        ++count;
    }
    root.bind();
    CountingQueue queue;
    RenderContext context;
    context.flags = static_cast<uint32_t>(state.range(0));
    context.sorter = &queue;
    RunFrames(state, clock, [&] {
        queue.clear();
        root.render(context);
    });
    state.counters["nodes"] = count;
}
BENCHMARK(BM_Traverse2000Nodes)->Arg(0)->Arg(RenderContext::kTransformsOnly)->Unit(benchmark::kMicrosecond);

// The clock's hands: every frame each hand's one-key track is cleared and keyed again.
void BM_RekeyClockHands(benchmark::State& state) {
    sys::TestClock clock(0);
    sys::ScopedClock useClock(clock);
    SceneNode root;
    auto track = std::make_shared<Animation>();
    SceneNode* hand = root.addChild(std::make_unique<SceneNode>());
    hand->addAnimation("", track);
    hand->playAnimation(0, "", false);
    hand->play(0, false);
    RenderContext context;
    float angle = 0;
    RunFrames(state, clock, [&] {
        track->clear();
        angle += 0.001f;
        track->rotationTrack().addKey(AnimationKey::Rotation(0, math::QuatRotationAxis({0, 1, 0}, angle)));
        root.render(context);
    });
}
BENCHMARK(BM_RekeyClockHands)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
