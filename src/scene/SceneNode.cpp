#include "scene/SceneNode.h"

#include <algorithm>
#include <utility>

SceneNode::SceneNode() { transformStack_.addMatrix(kLocalComponent, &localMatrix_); }

SceneNode::~SceneNode() = default;

void SceneNode::setName(const EngineString& name) {
    if (!parent_) {
        name_ = name;
        return;
    }
    SceneNode* parent = parent_;
    auto& siblings = parent->children_;
    const auto at = std::find_if(siblings.begin(), siblings.end(), [this](const auto& c) { return c.get() == this; });
    std::unique_ptr<SceneNode> self = std::move(*at);
    siblings.erase(at);
    name_ = name;
    parent->addChild(std::move(self));
}

void SceneNode::setType(const EngineString& type) {
    type_ = type;
    isBone_ = EqualsIgnoreCase(type.view(), "bone");
}

SceneNode* SceneNode::addChild(std::unique_ptr<SceneNode> child) {
    if (!child) return nullptr;
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

std::unique_ptr<SceneNode> SceneNode::removeChild(const EngineString& name) {
    const auto at = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c->name_ == name; });
    if (at == children_.end()) return nullptr;
    std::unique_ptr<SceneNode> child = std::move(*at);
    children_.erase(at);
    child->parent_ = nullptr;
    return child;
}

SceneNode* SceneNode::findChild(const EngineString& name) const {
    for (const auto& child : children_)
        if (child->name_ == name) return child.get();
    return nullptr;
}

SceneNode* SceneNode::find(const EngineString& name) {
    if (EqualsIgnoreCase(name_.view(), name.view())) return this;
    for (const auto& child : children_)
        if (SceneNode* hit = child->find(name)) return hit;
    return nullptr;
}

void SceneNode::setPartsMode(bool parts) {
    if (parts == partsMode_) return;
    partsMode_ = parts;
    if (parts) {
        transformStack_.remove(kLocalComponent);
        const int ids[4] = {kPreComponent, kScaleComponent, kRotationComponent, kPositionComponent};
        for (int i = 0; i < 4; ++i) transformStack_.addMatrix(ids[i], &partMatrices_[i]);
    } else {
        for (int id = kPreComponent; id <= kPositionComponent; ++id) transformStack_.remove(id);
        transformStack_.addMatrix(kLocalComponent, &localMatrix_);
    }
}

void SceneNode::refreshStackMatrices() {
    if (!partsMode_) {
        localMatrix_ = transform_.getMatrix();
        return;
    }
    math::Vec3 rows[3];
    transform_.getRotationRows(rows);
    partMatrices_[0] = transform_.getPre();
    partMatrices_[1] = Matrix::Scaling(transform_.getScale());
    partMatrices_[2] = Matrix::FromParts({1, 1, 1}, rows, {});
    partMatrices_[3] = Matrix::Translation(transform_.getPosition());
}

void SceneNode::addTake(const EngineString& take, const NodeTransform& transform,
                        const NodeTransform* objectTransform) {
    takeTransforms_[take] = transform;
    if (objectTransform) takeObjectTransforms_[take] = *objectTransform;
    else takeObjectTransforms_.erase(take);
}

void SceneNode::applyTake(const EngineString& take, bool recursive) {
    const auto stored = takeTransforms_.find(take);
    if (stored != takeTransforms_.end()) {
        transform_ = stored->second;
        const auto object = takeObjectTransforms_.find(take);
        if (object != takeObjectTransforms_.end()) objectTransform_ = object->second;
        else objectTransform_.setIdentity();
    }
    if (recursive)
        for (const auto& child : children_) child->applyTake(take, true);
}

bool SceneNode::render(RenderContext& context) {
    refreshStackMatrices();
    const AnimationTime time{(context.flags & RenderContext::kExplicitTime) != 0, context.time};
    Matrix local;
    transformStack_.evaluate(time, local);

    const Matrix savedWorld = context.currentWorld;
    const Matrix savedBind = context.currentBind;
    context.currentWorld = local * context.currentWorld;
    worldMatrix_ = objectTransform_.getMatrix() * context.currentWorld;
    context.currentBind = transform_.getMatrix() * context.currentBind;
    if (isBone_) {
        Matrix inverseBind;
        // A collapsed bind pose has no inverse: the bone then moves its vertices unchanged.
        if (!Invert(context.currentBind, inverseBind)) inverseBind.SetIdentity();
        skinMatrix_ = inverseBind * worldMatrix_;
    }

    bool ok = true;
    if (!(context.flags & RenderContext::kTransformsOnly) && renderable_) {
        renderable_->setWorldMatrix(worldMatrix_);
        renderable_->updateBounds();
        const bool visible = (context.flags & RenderContext::kSkipVisibility) || !context.view ||
                             context.view->isVisible(renderable_->getBounds());
        if (visible) {
            if (context.sorter) context.sorter->add(*renderable_);
            else ok = renderable_->draw();
        }
    }
    for (const auto& child : children_) ok = child->render(context) && ok;

    context.currentWorld = savedWorld;
    context.currentBind = savedBind;
    return ok;
}

void SceneNode::bind(const Matrix& parentPose) {
    const Matrix pose = transform_.getMatrix() * parentPose;
    if (!Invert(pose, inverseBindMatrix_)) inverseBindMatrix_.SetIdentity();
    for (const auto& child : children_) child->bind(pose);
}
