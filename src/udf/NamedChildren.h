#pragma once
// The children of a value-tree node: unique names compared byte for byte, kept in insertion
// order, with a flag per entry for children that are linked rather than owned. The entries do
// not own the nodes; the node classes decide what to destroy.

#include <list>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "common/EngineString.h"

template <typename Node>
class NamedChildren {
public:
    struct Entry {
        EngineString name;
        Node* node = nullptr;
        bool linked = false;
    };
    using const_iterator = typename std::list<Entry>::const_iterator;

    NamedChildren() = default;
    NamedChildren(const NamedChildren&) = delete;
    NamedChildren& operator=(const NamedChildren&) = delete;
    // Moving keeps the entries where they are, so the index stays valid; the source is left empty.
    NamedChildren(NamedChildren&& other) noexcept { *this = std::move(other); }
    NamedChildren& operator=(NamedChildren&& other) noexcept {
        entries_.swap(other.entries_);
        index_.swap(other.index_);
        other.entries_.clear();
        other.index_.clear();
        return *this;
    }

    const Entry* Find(std::string_view name) const {
        const auto it = index_.find(name);
        return it == index_.end() ? nullptr : &*it->second;
    }
    Node* FindNode(std::string_view name) const {
        const Entry* entry = Find(name);
        return entry ? entry->node : nullptr;
    }
    // False (and nothing added) when the name is taken.
    bool Add(EngineString name, Node* node, bool linked) {
        if (index_.count(name.view())) return false;
        entries_.push_back({std::move(name), node, linked});
        const auto last = std::prev(entries_.end());
        index_.emplace(last->name.view(), last);
        return true;
    }
    // Removes the entry and gives it back; an entry with no node when the name is missing.
    Entry Remove(std::string_view name) {
        const auto it = index_.find(name);
        if (it == index_.end()) return {};
        const auto at = it->second;
        index_.erase(it);
        Entry entry = std::move(*at);
        entries_.erase(at);
        return entry;
    }
    Entry RemoveFirst() { return Remove(entries_.front().name.view()); }

    bool Empty() const { return entries_.empty(); }
    uint32_t Size() const { return static_cast<uint32_t>(entries_.size()); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

private:
    std::list<Entry> entries_;
    std::unordered_map<std::string_view, typename std::list<Entry>::iterator> index_;
};
