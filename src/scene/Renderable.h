#pragma once
// What the scene traversal needs from drawable geometry, from the render pass that collects it
// and from the view that culls it. Meshes, the sorter and the camera implement these.

#include "common/math/Math.h"
#include "scene/Matrix.h"
#include "scene/StateBlock.h"

#include <cstdint>

// An axis-aligned box in world space.
struct BoundingBox {
    math::Vec3 min;
    math::Vec3 max;
};

// The eight corners of `box` moved by `m`, boxed again.
BoundingBox TransformBox(const BoundingBox& box, const math::Mat4& m);

class Renderable {
public:
    // Which of its matrices the renderable sets on the device when drawn.
    enum TransformMask : uint32_t { kSetWorld = 1, kSetView = 2, kSetProjection = 4 };

    virtual ~Renderable() = default;

    void setWorldMatrix(const Matrix& world) { worldMatrix_ = world; }
    const Matrix& getWorldMatrix() const { return worldMatrix_; }
    void setViewMatrix(const Matrix& view) { viewMatrix_ = view; }
    void setProjectionMatrix(const Matrix& projection) { projectionMatrix_ = projection; }
    uint32_t getTransformMask() const { return transformMask_; }
    void setTransformMask(uint32_t mask) { transformMask_ = mask; }
    const BoundingBox& getBounds() const { return bounds_; }
    StateBlock& getStateBlock() { return states_; }
    const StateBlock& getStateBlock() const { return states_; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }

    // The vertex format drawn (0 when the renderable has no vertices of its own).
    virtual uint32_t getFvf() const { return 0; }
    // Lit by the scene lights: lighting on in its block and normals in its vertices.
    bool isLitMesh() const;
    // Pushes the state block to the device; false when a device call failed.
    bool applyStates();
    bool statesApplied() const { return statesApplied_; }

    // Recomputes the world-space box from the world matrix.
    virtual void updateBounds() = 0;
    // Draws at once; false when drawing failed.
    virtual bool draw() = 0;

protected:
    // Sets the device transforms the mask names.
    bool setTransforms() const;

    Matrix worldMatrix_;
    Matrix viewMatrix_;
    Matrix projectionMatrix_;
    uint32_t transformMask_ = kSetWorld;
    StateBlock states_;
    BoundingBox bounds_;
    bool hidden_ = false;
    bool statesApplied_ = false;
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
