#pragma once
// A run of bytes that is either referred to (someone else keeps it alive) or owned.

#include <cstdint>
#include <memory>
#include <span>

struct ByteBlock {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> owned;

    void Refer(const uint8_t* bytes, uint32_t length) {
        owned.reset();
        data = bytes;
        size = length;
    }
    void Own(std::unique_ptr<uint8_t[]> bytes, uint32_t length) {
        owned = std::move(bytes);
        data = owned.get();
        size = length;
    }
    void Reset() { Refer(nullptr, 0); }
    bool IsReference() const { return data && !owned; }
    std::span<const uint8_t> Bytes() const { return {data, size}; }
};
