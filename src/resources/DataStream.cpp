#include "resources/DataStream.h"

#include <memory>

#include "common/LittleEndian.h"

bool DataStream::ReadU32(uint32_t& value) {
    uint8_t bytes[4] = {};
    value = 0;
    if (!ReadAll(bytes, 4)) return false;
    value = GetLe32(bytes);
    return true;
}

bool DataStream::ReadU8(uint8_t& value) {
    value = 0;
    return ReadAll(&value, 1);
}

bool DataStream::WriteU32(uint32_t value) {
    uint8_t bytes[4];
    PutLe32(bytes, value);
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
