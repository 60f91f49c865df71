#pragma once
// A named node of the scene tree: its local transform (parts, takes and animations composed by
// a transform stack), its object offset, its world and bone matrices, and at most one
// renderable. A node owns its children and its renderable.

#include "common/EngineString.h"
#include "scene/Animation.h"
#include "scene/AnimationPlayer.h"
#include "scene/NodeTransform.h"
#include "scene/RenderContext.h"
#include "scene/Renderable.h"
#include "scene/TransformStack.h"

#include <map>
#include <memory>
#include <vector>

class SceneNode {
public:
    // Stack component ids: the live transform as one matrix, or as its four parts.
    static constexpr int kLocalComponent = 100;
    static constexpr int kPreComponent = 96;
    static constexpr int kScaleComponent = 97;
    static constexpr int kRotationComponent = 98;
    static constexpr int kPositionComponent = 99;
    // Group setters: every component of each node.
    static constexpr int kAllComponents = -1;

    SceneNode();
    ~SceneNode();
    // Stack components point into the node, so it stays where it was made.
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    // Renaming re-files the node under its new name in its parent (at the end of the order).
    void setName(const EngineString& name);
    const EngineString& getName() const { return name_; }
    void setType(const EngineString& type);
    const EngineString& getType() const { return type_; }
    // A skeleton bone: type "bone" in any case.
    bool isBone() const { return isBone_; }

    // Takes ownership; the child keeps its name as its key. Returns the child.
    SceneNode* addChild(std::unique_ptr<SceneNode> child);
    // Detaches the first child with exactly `name` and hands it back (null when there is none).
    std::unique_ptr<SceneNode> removeChild(const EngineString& name);
    // Direct child by exact name (the first of equal names), or null.
    SceneNode* findChild(const EngineString& name) const;
    // This node or the first descendant in depth-first pre-order whose name equals `name`
    // ignoring case; null if none.
    SceneNode* find(const EngineString& name);
    const std::vector<std::unique_ptr<SceneNode>>& children() const { return children_; }
    SceneNode* getParent() const { return parent_; }

    NodeTransform& getTransform() { return transform_; }
    const NodeTransform& getTransform() const { return transform_; }
    NodeTransform& getObjectTransform() { return objectTransform_; }
    TransformStack& getTransformStack() { return transformStack_; }
    const Matrix& getWorldMatrix() const { return worldMatrix_; }
    const Matrix& getSkinMatrix() const { return skinMatrix_; }
    const Matrix& getInverseBindMatrix() const { return inverseBindMatrix_; }
    // A matrix of the node free for the application to put into the stack as a component.
    Matrix& getSpareMatrix() { return spareMatrix_; }
    Renderable* getRenderable() const { return renderable_.get(); }
    void setRenderable(std::unique_ptr<Renderable> renderable) { renderable_ = std::move(renderable); }

    // Parts mode: the stack carries pre, scale, rotation and position as components 96 to 99
    // instead of the composed matrix as component 100.
    void setPartsMode(bool parts);
    bool isPartsMode() const { return partsMode_; }

    // Stores copies under `take`; a null `objectTransform` means no object offset.
    void addTake(const EngineString& take, const NodeTransform& transform, const NodeTransform* objectTransform);
    size_t takeCount() const { return takeTransforms_.size(); }
    // Makes a stored take live, here and, when `recursive`, in every descendant that has it.
    void applyTake(const EngineString& take, bool recursive);

    // Stores (or replaces) the animation `name`.
    void addAnimation(const EngineString& name, std::shared_ptr<Animation> animation);
    Animation* findAnimation(const EngineString& name) const;
    // Puts the animation `name` on the player with `componentId` (made when missing) and stops
    // it; nodes without that animation are left alone.
    void playAnimation(int componentId, const EngineString& name, bool recursive);

    // The render traversal of this subtree. False when an immediate draw failed; the rest of
    // the subtree is still drawn.
    bool render(RenderContext& context);
    // The bind pass: records the inverse of each node's rest pose under `parentPose`.
    void bind(const Matrix& parentPose = Matrix::Identity());
    // The span of every player's animation in the subtree; false (and `out` untouched) if none.
    bool getAnimationRange(TimeRange& out) const;

    // Group setters over the players with `id` (kAllComponents: every player).
    void setSpeed(int id, float speed, bool recursive);
    void setFlags(int id, uint32_t flags, bool recursive);
    void setPlayRange(int id, const TimeRange& range, bool recursive);
    // Local time in milliseconds.
    void setTime(int id, float ms, bool recursive);
    void play(int id, bool recursive);
    void stop(int id, bool recursive);
    void setPaused(int id, bool paused, bool recursive);

private:
    template <typename Action>
    void forEachPlayer(int id, bool recursive, const Action& action);
    void collectAnimationRange(TimeRange& out, bool& found) const;
    // Copies the live transform into the matrices the stack reads.
    void refreshStackMatrices();

    TransformStack transformStack_;
    std::vector<std::unique_ptr<SceneNode>> children_;
    SceneNode* parent_ = nullptr;
    EngineString name_;
    EngineString type_;
    std::map<EngineString, std::shared_ptr<Animation>> animations_;
    std::map<EngineString, NodeTransform> takeTransforms_;
    std::map<EngineString, NodeTransform> takeObjectTransforms_;
    NodeTransform transform_;
    Matrix localMatrix_;
    Matrix partMatrices_[4];  // pre, scale, rotation, position
    Matrix spareMatrix_;
    Matrix worldMatrix_;
    Matrix inverseBindMatrix_;
    Matrix skinMatrix_;
    NodeTransform objectTransform_;
    std::unique_ptr<Renderable> renderable_;
    bool isBone_ = false;
    bool partsMode_ = false;
};
