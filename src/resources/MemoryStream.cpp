#include "resources/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace {

// Calls visit(piece, done, n) for each piece of [offset, offset + count) that lies in one chunk;
// `done` bytes of the run come before the piece.
template <typename Visit>
void ForEachPiece(const std::vector<std::unique_ptr<uint8_t[]>>& chunks, uint32_t offset, uint32_t count,
                  Visit visit) {
    constexpr uint32_t kChunk = MemoryStream::kChunkSize;
    for (uint32_t done = 0; done < count;) {
        const uint32_t at = offset + done;
        const uint32_t n = std::min(count - done, kChunk - at % kChunk);
        visit(chunks[at / kChunk].get() + at % kChunk, done, n);
        done += n;
    }
}

}  // namespace

std::unique_ptr<MemoryStream> MemoryStream::Over(ByteBlock bytes, int mode) {
    auto stream = std::make_unique<MemoryStream>();
    stream->Open(nullptr, mode);
    if (mode & kWrite) {
        if (bytes.size > 0) stream->Write(bytes.data, bytes.size);
        stream->Seek(0, kFromStart);
    } else if (bytes.IsReference()) {
        stream->Refer(bytes.data, bytes.size);
    } else {
        stream->Adopt(std::move(bytes.owned), bytes.size);
    }
    return stream;
}

void MemoryStream::Refer(const uint8_t* data, uint32_t size) {
    ownedBlock_.reset();
    block_ = data;
    blockSize_ = data ? size : 0;
}

void MemoryStream::Adopt(std::unique_ptr<uint8_t[]> data, uint32_t size) {
    ownedBlock_ = std::move(data);
    block_ = ownedBlock_.get();
    blockSize_ = block_ ? size : 0;
}

bool MemoryStream::Open(const char* /*name*/, int mode) {
    mode_ = mode;
    position_ = 0;
    return true;
}

bool MemoryStream::Seek(int64_t position, int origin) {
    eof_ = false;
    const int64_t length = Length();
    int64_t target;
    if (origin == kFromStart) {
        target = position - base_;
    } else if (origin == kFromCurrent) {
        target = position_ + position;
    } else {
        target = position - base_ + length;
    }
    // Before the start counts as past the end, as unsigned positions would.
    if (target < 0 || target > length) return false;
    position_ = static_cast<uint32_t>(target);
    return true;
}

uint32_t MemoryStream::Read(void* buffer, uint32_t count) {
    const uint32_t length = Length();
    if (position_ >= length) {
        eof_ = true;
        return 0;
    }
    const uint32_t n = std::min(count, length - position_);
    if (n == 0) return 0;  // an empty request may come with no buffer at all
    if (mode_ & kWrite) {
        auto* bytes = static_cast<uint8_t*>(buffer);
        ForEachPiece(chunks_, position_, n, [&](uint8_t* piece, uint32_t done, uint32_t size) {
            std::memcpy(bytes + done, piece, size);
        });
    } else {
        std::memcpy(buffer, block_ + position_, n);
    }
    position_ += n;
    return n;
}

uint32_t MemoryStream::Write(const void* buffer, uint32_t count) {
    if (!(mode_ & kWrite) || count > UINT32_MAX - position_) return 0;
    const uint32_t end = position_ + count;
    while (chunks_.size() * uint64_t{kChunkSize} < end) chunks_.emplace_back(new uint8_t[kChunkSize]);
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    ForEachPiece(chunks_, position_, count, [&](uint8_t* piece, uint32_t done, uint32_t size) {
        std::memcpy(piece, bytes + done, size);
    });
    position_ = end;
    written_ = std::max(written_, end);
    return count;
}

bool MemoryStream::CopyWrittenTo(DataStream& out) const {
    for (uint32_t offset = 0; offset < written_; offset += kChunkSize) {
        const uint32_t n = std::min(kChunkSize, written_ - offset);
        if (!out.WriteAll(chunks_[offset / kChunkSize].get(), n)) return false;
    }
    return true;
}

