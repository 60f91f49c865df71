#pragma once
// Comparisons and fakes shared by the scene tests.

#include "scene/Matrix.h"
#include "scene/Renderable.h"

#include <gtest/gtest.h>

#include <vector>

inline void ExpectNear(math::Vec3 actual, math::Vec3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const math::Mat4& actual, const math::Mat4& expected, float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << "at " << r << "," << c;
}

// A renderable whose box is a unit cube at its world position.
class FakeRenderable final : public Renderable {
public:
    explicit FakeRenderable(bool drawSucceeds = true) : drawSucceeds_(drawSucceeds) {}
    void updateBounds() override {
        const math::Vec3 at = getWorldMatrix().TranslationRow();
        bounds_ = {at, at + math::Vec3{1, 1, 1}};
        ++boundsUpdates;
    }
    bool draw() override {
        ++draws;
        return drawSucceeds_;
    }
    int draws = 0;
    int boundsUpdates = 0;

private:
    bool drawSucceeds_;
};

class FakeQueue final : public RenderQueue {
public:
    void add(Renderable& renderable) override { added.push_back(&renderable); }
    std::vector<Renderable*> added;
};

// Sees only boxes that start left of `limitX`.
class FakeView final : public VisibilityTest {
public:
    explicit FakeView(float limitX) : limitX_(limitX) {}
    bool isVisible(const BoundingBox& box) const override { return box.min.x < limitX_; }

private:
    float limitX_;
};
