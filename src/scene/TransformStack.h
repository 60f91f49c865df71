#pragma once
// The ordered list of matrix sources whose product is a node's local matrix. Each source has an
// id by which the application reaches it; animation players are sources too.

#include "scene/Matrix.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class AnimationPlayer;

// When animations are evaluated: at an explicit time of the render pass, or on each player's
// own clock.
struct AnimationTime {
    bool isExplicit = false;
    float seconds = 0;
};

class TransformComponent {
public:
    explicit TransformComponent(int id) : id_(id) {}
    virtual ~TransformComponent() = default;
    TransformComponent(const TransformComponent&) = delete;
    TransformComponent& operator=(const TransformComponent&) = delete;

    int id() const { return id_; }
    // product = product x (this component's matrix at `time`).
    virtual void multiplyInto(Matrix& product, const AnimationTime& time) = 0;
    virtual AnimationPlayer* asPlayer() { return nullptr; }

private:
    int id_;
};

// A component that reads a matrix owned elsewhere (one of the node's matrices).
class MatrixComponent final : public TransformComponent {
public:
    MatrixComponent(int id, const Matrix* source) : TransformComponent(id), source_(source) {}
    void multiplyInto(Matrix& product, const AnimationTime&) override { product = product * *source_; }

private:
    const Matrix* source_;
};

class TransformStack {
public:
    void add(std::unique_ptr<TransformComponent> component);
    // Inserts before position `index` (at the end when past it).
    void insert(size_t index, std::unique_ptr<TransformComponent> component);
    void addMatrix(int id, const Matrix* source);
    // Removes the first component with `id`; false when there is none.
    bool remove(int id);
    TransformComponent* find(int id) const;
    // Position of the first component with `id`, or -1.
    int indexOf(int id) const;
    size_t size() const { return components_.size(); }
    TransformComponent& at(size_t index) const { return *components_[index]; }

    // The product of every component, in list order, starting from the identity.
    void evaluate(const AnimationTime& time, Matrix& out);

    // Starts moving the product of components [first, first + count) from its present value to
    // its live value over `durationMs`: change the pose after this call. A later blend replaces
    // an unfinished one.
    void startBlend(size_t first, size_t count, int64_t durationMs, const AnimationTime& time = {});
    bool isBlending() const { return blendDurationMs_ > 0; }

private:
    // Product of the components [first, end) multiplied into `product`.
    void multiplyRange(size_t first, size_t end, const AnimationTime& time, Matrix& product);

    std::vector<std::unique_ptr<TransformComponent>> components_;
    size_t blendFirst_ = 0;
    size_t blendCount_ = 0;
    int64_t blendDurationMs_ = 0;
    int64_t blendStartMs_ = 0;
    Matrix blendFrom_;
};
