#pragma once
// A stream over a file on disk.

#include <cstdio>

#include "resources/DataStream.h"

class DiskStream final : public DataStream {
public:
    DiskStream() = default;
    DiskStream(const DiskStream&) = delete;
    DiskStream& operator=(const DiskStream&) = delete;
    ~DiskStream() override;

    // Either separator works in `name`, as on the engine's first platform. A directory does not
    // open: it has no bytes to read.
    bool Open(const char* name, int mode) override;
    bool Close() override;
    uint32_t Tell() const override;
    uint32_t Size() const override;
    bool Seek(int64_t position, int origin) override;
    bool IsEof() const override;
    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t count) override;

private:
    std::FILE* file_ = nullptr;
};
