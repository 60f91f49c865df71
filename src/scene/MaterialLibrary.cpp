#include "scene/MaterialLibrary.h"

const StateBlock* MaterialLibrary::lookup(const EngineString& name) const {
    for (const auto& [key, block] : entries_)
        if (key == name) return &block;
    return nullptr;
}

bool MaterialLibrary::find(const EngineString& name, StateBlock& out) const {
    const StateBlock* block = lookup(name);
    if (!block) return false;
    out = *block;
    return true;
}

bool MaterialLibrary::contains(const EngineString& name) const { return lookup(name) != nullptr; }

bool MaterialLibrary::add(const EngineString& name, const StateBlock& block) {
    if (contains(name)) return false;
    entries_.emplace_back(name, block);
    return true;
}
