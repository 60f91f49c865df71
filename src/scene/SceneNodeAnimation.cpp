// The animation side of a scene node: its named animations, the players in its transform stack
// and the group setters that reach them over a subtree.

#include "scene/SceneNode.h"

#include <utility>

void SceneNode::addAnimation(const EngineString& name, std::shared_ptr<Animation> animation) {
    animations_[name] = std::move(animation);
}

Animation* SceneNode::findAnimation(const EngineString& name) const {
    const auto found = animations_.find(name);
    return found == animations_.end() ? nullptr : found->second.get();
}

void SceneNode::playAnimation(int componentId, const EngineString& name, bool recursive) {
    const auto found = animations_.find(name);
    if (found != animations_.end()) {
        TransformComponent* component = transformStack_.find(componentId);
        AnimationPlayer* player = component ? component->asPlayer() : nullptr;
        if (!component) {
            // A new player goes in front of the node's own transform (component 100, or the
            // parts that replace it), so the animation moves the geometry about the node's pivot
            // before the node transform places it: a clock hand's one-key rotation about
            // (0, 1, 0) turns the hand in place while its node keeps it on the dial, and
            // the node's position stays where its sounds sit. Animations are authored as motion
            // about the pivot accordingly.
            auto made = std::make_unique<AnimationPlayer>(componentId);
            player = made.get();
            int at = transformStack_.indexOf(kLocalComponent);
            if (at < 0) at = transformStack_.indexOf(kPreComponent);
            transformStack_.insert(at < 0 ? transformStack_.size() : static_cast<size_t>(at), std::move(made));
        }
        // A component with that id that is not a player keeps its matrix.
        if (player) player->setAnimation(found->second);
    }
    if (recursive)
        for (const auto& child : children_) child->playAnimation(componentId, name, true);
}

void SceneNode::collectAnimationRange(TimeRange& out, bool& found) const {
    for (size_t i = 0; i < transformStack_.size(); ++i) {
        const AnimationPlayer* player = transformStack_.at(i).asPlayer();
        TimeRange range;
        if (!player || !player->getAnimationRange(range)) continue;
        if (found) out.merge(range);
        else out = range;
        found = true;
    }
    for (const auto& child : children_) child->collectAnimationRange(out, found);
}

bool SceneNode::getAnimationRange(TimeRange& out) const {
    bool found = false;
    collectAnimationRange(out, found);
    return found;
}

template <typename Action>
void SceneNode::forEachPlayer(int id, bool recursive, const Action& action) {
    for (size_t i = 0; i < transformStack_.size(); ++i) {
        TransformComponent& component = transformStack_.at(i);
        AnimationPlayer* player = component.asPlayer();
        if (player && (id == kAllComponents || component.id() == id)) action(*player);
    }
    if (recursive)
        for (const auto& child : children_) child->forEachPlayer(id, true, action);
}

void SceneNode::setSpeed(int id, float speed, bool recursive) {
    forEachPlayer(id, recursive, [speed](AnimationPlayer& p) { p.setSpeed(speed); });
}

void SceneNode::setFlags(int id, uint32_t flags, bool recursive) {
    forEachPlayer(id, recursive, [flags](AnimationPlayer& p) { p.setFlags(flags); });
}

void SceneNode::setPlayRange(int id, const TimeRange& range, bool recursive) {
    forEachPlayer(id, recursive, [&range](AnimationPlayer& p) { p.setPlayRange(range); });
}

void SceneNode::setTime(int id, float ms, bool recursive) {
    forEachPlayer(id, recursive, [ms](AnimationPlayer& p) { p.setTime(ms); });
}

void SceneNode::play(int id, bool recursive) {
    forEachPlayer(id, recursive, [](AnimationPlayer& p) { p.play(); });
}

void SceneNode::stop(int id, bool recursive) {
    forEachPlayer(id, recursive, [](AnimationPlayer& p) { p.stop(); });
}

void SceneNode::setPaused(int id, bool paused, bool recursive) {
    forEachPlayer(id, recursive, [paused](AnimationPlayer& p) {
        if (paused) p.pause();
        else p.resume();
    });
}
