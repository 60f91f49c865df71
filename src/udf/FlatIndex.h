#pragma once
// An insert-only hash table with open addressing: all entries live in one array, so filling it
// costs a handful of allocations instead of one per entry. Trees of many thousand nodes build
// their name and offset indexes with it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

template <typename Key, typename Value, typename Hash = std::hash<Key>>
class FlatIndex {
public:
    const Value* Find(const Key& key) const {
        if (slots_.empty()) return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[i];
            if (!slot.used) return nullptr;
            if (slot.key == key) return &slot.value;
        }
    }
    // False (and nothing changed) when the key is there already.
    bool Insert(const Key& key, Value value) {
        if ((size_ + 1) * 2 > slots_.size()) Grow();
        for (size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[i];
            if (!slot.used) {
                slot = {key, value, true};
                ++size_;
                return true;
            }
            if (slot.key == key) return false;
        }
    }
    void Clear() {
        slots_.clear();
        size_ = 0;
    }
    size_t Size() const { return size_; }

private:
    struct Slot {
        Key key{};
        Value value{};
        bool used = false;
    };

    // Fibonacci hashing spreads even poor hashes (offsets, identity-hashed integers) over the table.
    size_t Home(const Key& key) const {
        return static_cast<size_t>((uint64_t{Hash{}(key)} * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
    }
    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        bits_ = old.empty() ? 4 : bits_ + 1;
        slots_.resize(size_t{1} << bits_);
        size_ = 0;
        for (const Slot& slot : old) {
            if (slot.used) Insert(slot.key, slot.value);
        }
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
    int bits_ = 0;
};
