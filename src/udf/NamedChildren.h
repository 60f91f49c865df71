#pragma once
// The children of a value-tree node: unique names compared byte for byte, kept in insertion
// order, with a flag per entry for children that are linked rather than owned. The entries do
// not own the nodes; the node classes decide what to destroy. Most nodes have a handful of
// children, found by a linear search; an index is built once there are many.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "common/EngineString.h"
#include "udf/FlatIndex.h"

template <typename Node>
class NamedChildren {
public:
    struct Entry {
        EngineString name;
        Node* node = nullptr;
        bool linked = false;
    };
    using const_iterator = typename std::vector<Entry>::const_iterator;

    NamedChildren() = default;
    NamedChildren(const NamedChildren&) = delete;
    NamedChildren& operator=(const NamedChildren&) = delete;
    // The source is left empty. Names keep their buffers when entries move, so the index stays valid.
    NamedChildren(NamedChildren&& other) noexcept { *this = std::move(other); }
    NamedChildren& operator=(NamedChildren&& other) noexcept {
        entries_ = std::exchange(other.entries_, {});
        index_ = std::exchange(other.index_, {});
        return *this;
    }

    const Entry* Find(std::string_view name) const {
        const size_t at = IndexOf(name);
        return at < entries_.size() ? &entries_[at] : nullptr;
    }
    Node* FindNode(std::string_view name) const {
        const Entry* entry = Find(name);
        return entry ? entry->node : nullptr;
    }
    // False (and nothing added) when the name is taken.
    bool Add(EngineString name, Node* node, bool linked) {
        if (Find(name.view())) return false;
        entries_.push_back({std::move(name), node, linked});
        if (index_.Size() > 0) {
            index_.Insert(entries_.back().name.view(), static_cast<uint32_t>(entries_.size() - 1));
        } else if (entries_.size() > kLinearLimit) {
            BuildIndex();
        }
        return true;
    }
    // Removes the entry and gives it back; an entry with no node when the name is missing.
    Entry Remove(std::string_view name) {
        const size_t at = IndexOf(name);
        if (at >= entries_.size()) return {};
        Entry entry = std::move(entries_[at]);
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
        if (index_.Size() > 0) BuildIndex();
        return entry;
    }
    // Removes every entry, in order, handing each to `visit`.
    template <typename Visit>
    void RemoveAll(Visit visit) {
        std::vector<Entry> entries = std::exchange(entries_, {});
        index_.Clear();
        for (Entry& entry : entries) visit(entry);
    }

    bool Empty() const { return entries_.empty(); }
    uint32_t Size() const { return static_cast<uint32_t>(entries_.size()); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

private:
    static constexpr size_t kLinearLimit = 8;

    size_t IndexOf(std::string_view name) const {
        if (index_.Size() > 0) {
            const uint32_t* at = index_.Find(name);
            return at ? *at : entries_.size();
        }
        const auto it = std::find_if(entries_.begin(), entries_.end(),
                                     [&](const Entry& entry) { return entry.name.view() == name; });
        return static_cast<size_t>(it - entries_.begin());
    }
    void BuildIndex() {
        index_.Clear();
        if (entries_.size() <= kLinearLimit) return;
        for (size_t i = 0; i < entries_.size(); ++i) index_.Insert(entries_[i].name.view(), static_cast<uint32_t>(i));
    }

    std::vector<Entry> entries_;
    FlatIndex<std::string_view, uint32_t> index_;  // empty while a linear search will do
};
