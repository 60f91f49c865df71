#pragma once
// A stream over bytes in memory. In read mode it reads a block it refers to or owns; in write
// mode it reads and writes a buffer that grows in 16 KiB chunks, so large writes never move
// what was written. A base offset makes a stream over one area of a file speak in the file's
// own offsets.

#include <memory>
#include <vector>

#include "resources/ByteBlock.h"
#include "resources/DataStream.h"

class MemoryStream final : public DataStream {
public:
    static constexpr uint32_t kChunkSize = 16384;

    MemoryStream() = default;
    // A stream opened with `mode` over `bytes`: in write mode they are copied into the write
    // buffer; otherwise the stream refers to them or takes them over, as the block holds them.
    static std::unique_ptr<MemoryStream> Over(ByteBlock bytes, int mode);
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    // The bytes must outlive the stream.
    void Refer(const uint8_t* data, uint32_t size);
    // Takes over a block allocated with new[].
    void Adopt(std::unique_ptr<uint8_t[]> data, uint32_t size);
    void SetBaseOffset(uint32_t base) { base_ = base; }
    uint32_t BaseOffset() const { return base_; }

    bool Open(const char* name, int mode) override;
    bool Close() override { return true; }
    uint32_t Tell() const override { return base_ + position_; }
    uint32_t Size() const override { return Length(); }
    bool Seek(int64_t position, int origin) override;
    bool IsEof() const override { return eof_; }
    // The number of bytes copied.
    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t count) override;

    // Writes the whole write buffer to `out`, chunk by chunk.
    bool CopyWrittenTo(DataStream& out) const;

private:
    uint32_t Length() const { return (mode_ & kWrite) ? written_ : blockSize_; }

    const uint8_t* block_ = nullptr;
    uint32_t blockSize_ = 0;
    std::unique_ptr<uint8_t[]> ownedBlock_;
    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    uint32_t written_ = 0;
    int mode_ = 0;
    uint32_t position_ = 0;
    uint32_t base_ = 0;
    bool eof_ = false;
};
