#include "resources/DataStream.h"

#include <memory>

bool DataStream::ReadU32(uint32_t& value) {
    uint8_t bytes[4] = {};
    value = 0;
    if (!ReadAll(bytes, 4)) return false;
    value = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
    return true;
}

bool DataStream::ReadU8(uint8_t& value) {
    value = 0;
    return ReadAll(&value, 1);
}

bool DataStream::WriteU32(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return WriteAll(bytes, 4);
}

bool DataStream::WriteU8(uint8_t value) { return WriteAll(&value, 1); }

bool DataStream::ReadText(EngineString& text, uint32_t n) {
    text = EngineString();
    if (n == 0) return true;
    // Names and type names are short: no heap buffer for them.
    char small[256];
    std::unique_ptr<char[]> large;
    char* buffer = small;
    if (n > sizeof small) {
        large.reset(new char[n]);
        buffer = large.get();
    }
    if (!ReadAll(buffer, n)) return false;
    text = EngineString(buffer, n);
    return true;
}
