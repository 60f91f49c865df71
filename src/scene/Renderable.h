#pragma once
// What the scene traversal needs from drawable geometry, from the render pass that collects it
// and from the view that culls it. Meshes, the sorter and the camera implement these.

#include "common/math/Math.h"
#include "scene/Matrix.h"

// An axis-aligned box in world space.
struct BoundingBox {
    math::Vec3 min;
    math::Vec3 max;
};

class Renderable {
public:
    virtual ~Renderable() = default;

    void setWorldMatrix(const Matrix& world) { worldMatrix_ = world; }
    const Matrix& getWorldMatrix() const { return worldMatrix_; }
    const BoundingBox& getBounds() const { return bounds_; }

    // Recomputes the world-space box from the world matrix.
    virtual void updateBounds() = 0;
    // Draws at once; false when drawing failed.
    virtual bool draw() = 0;

protected:
    Matrix worldMatrix_;
    BoundingBox bounds_;
};

// Collects the visible renderables of a pass to draw them later in a better order.
class RenderQueue {
public:
    virtual ~RenderQueue() = default;
    virtual void add(Renderable& renderable) = 0;
};

// Decides whether a box can be seen from the pass's camera.
class VisibilityTest {
public:
    virtual ~VisibilityTest() = default;
    virtual bool isVisible(const BoundingBox& box) const = 0;
};
