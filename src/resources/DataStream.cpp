#include "resources/DataStream.h"

#include <memory>

bool DataStream::ReadU32(uint32_t& value) {
    uint8_t bytes[4] = {};
    const bool ok = Read(bytes, 4) != 0;
    value = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
    return ok;
}

bool DataStream::ReadU8(uint8_t& value) {
    value = 0;
    return Read(&value, 1) != 0;
}

bool DataStream::WriteU32(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return Write(bytes, 4) != 0;
}

bool DataStream::WriteU8(uint8_t value) { return Write(&value, 1) != 0; }

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
    if (Read(buffer, n) == 0) return false;
    text = EngineString(buffer, n);
    return true;
}
