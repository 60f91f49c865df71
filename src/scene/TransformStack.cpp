#include "scene/TransformStack.h"

#include "common/Timing.h"

#include <algorithm>

namespace {

// Element-wise blend: the window's two products are close poses of one part, where this is
// indistinguishable from a blend of their parts and needs no decomposition.
Matrix Blend(const Matrix& from, const Matrix& to, float factor) {
    if (factor >= 1.0f) return to;
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m(i, j) = from.m(i, j) + (to.m(i, j) - from.m(i, j)) * factor;
    r.kind = kGeneralMatrix;
    return r;
}

}  // namespace

void TransformStack::add(std::unique_ptr<TransformComponent> component) {
    components_.push_back(std::move(component));
}

void TransformStack::insert(size_t index, std::unique_ptr<TransformComponent> component) {
    index = std::min(index, components_.size());
    components_.insert(components_.begin() + static_cast<std::ptrdiff_t>(index), std::move(component));
}

void TransformStack::addMatrix(int id, const Matrix* source) { add(std::make_unique<MatrixComponent>(id, source)); }

bool TransformStack::remove(int id) {
    const int index = indexOf(id);
    if (index < 0) return false;
    components_.erase(components_.begin() + index);
    return true;
}

TransformComponent* TransformStack::find(int id) const {
    const int index = indexOf(id);
    return index < 0 ? nullptr : components_[static_cast<size_t>(index)].get();
}

int TransformStack::indexOf(int id) const {
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i]->id() == id) return static_cast<int>(i);
    return -1;
}

void TransformStack::multiplyRange(size_t first, size_t end, const AnimationTime& time, Matrix& product) {
    for (size_t i = first; i < end; ++i) components_[i]->multiplyInto(product, time);
}

void TransformStack::evaluate(const AnimationTime& time, Matrix& out) {
    out.SetIdentity();
    const size_t count = components_.size();
    if (!isBlending()) {
        multiplyRange(0, count, time, out);
        return;
    }
    const size_t first = std::min(blendFirst_, count);
    const size_t end = first + std::min(blendCount_, count - first);
    multiplyRange(0, first, time, out);
    Matrix live;
    multiplyRange(first, end, time, live);
    const int64_t elapsed = std::clamp<int64_t>(NowMs() - blendStartMs_, 0, blendDurationMs_);
    out = out * Blend(blendFrom_, live, static_cast<float>(elapsed) / static_cast<float>(blendDurationMs_));
    if (elapsed == blendDurationMs_) blendDurationMs_ = 0;
    multiplyRange(end, count, time, out);
}

void TransformStack::startBlend(size_t first, size_t count, int64_t durationMs, const AnimationTime& time) {
    blendDurationMs_ = 0;
    if (durationMs <= 0 || count == 0) return;
    const size_t begin = std::min(first, components_.size());
    blendFrom_.SetIdentity();
    multiplyRange(begin, begin + std::min(count, components_.size() - begin), time, blendFrom_);
    blendFirst_ = first;
    blendCount_ = count;
    blendStartMs_ = NowMs();
    blendDurationMs_ = durationMs;
}
