#pragma once
// The scene's named materials: state blocks by name, in the order they were added.

#include <utility>
#include <vector>

#include "common/EngineString.h"
#include "scene/StateBlock.h"

class MaterialLibrary {
public:
    // Copies the named block into `out`; false (and `out` untouched) when absent.
    bool find(const EngineString& name, StateBlock& out) const;
    bool contains(const EngineString& name) const;
    // Stores `block` under `name` unless the name is taken; false then.
    bool add(const EngineString& name, const StateBlock& block);
    size_t size() const { return entries_.size(); }
    const std::vector<std::pair<EngineString, StateBlock>>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    const StateBlock* lookup(const EngineString& name) const;

    std::vector<std::pair<EngineString, StateBlock>> entries_;
};
