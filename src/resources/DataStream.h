#pragma once
// The byte stream every loader reads through, over a file on disk or bytes in memory. Positions
// and sizes are 32-bit, as in the data files.

#include <cstdint>

#include "common/EngineString.h"

class DataStream {
public:
    enum Mode : int { kRead = 1, kWrite = 2 };
    enum Origin : int { kFromStart = 0, kFromCurrent = 1, kFromEnd = 2 };

    virtual bool Open(const char* name, int mode) = 0;
    virtual bool Close() = 0;
    virtual uint32_t Tell() const = 0;
    virtual uint32_t Size() const = 0;
    // Origin 0 from the start, 1 from the current position, anything else from the end.
    virtual bool Seek(int64_t position, int origin) = 0;
    virtual bool IsEof() const = 0;
    virtual ~DataStream() = default;
    // The number of bytes transferred, fewer than `count` at the end of the data or on an error.
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    virtual uint32_t Write(const void* buffer, uint32_t count) = 0;

    // True only when all `count` bytes were transferred: what every record field needs.
    bool ReadAll(void* buffer, uint32_t count) { return Read(buffer, count) == count; }
    bool WriteAll(const void* buffer, uint32_t count) { return Write(buffer, count) == count; }

    // Little-endian fields. A failed read leaves the value 0.
    bool ReadU32(uint32_t& value);
    bool ReadU8(uint8_t& value);
    bool WriteU32(uint32_t value);
    bool WriteU8(uint8_t value);
    // Reads exactly `n` bytes as a terminated text; fails, leaving the text empty, when fewer
    // are there.
    bool ReadText(EngineString& text, uint32_t n);
};
