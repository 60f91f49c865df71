#include "resources/RarArchive.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/MemoryStream.h"
#include "resources/RarFormat.h"

namespace {

constexpr size_t kMaxCompared = 512;

// Both separators become "_" and letters upper case, so Media/c1.cam, media_C1.CAM and
// "Media\c1.cam" name the same member.
std::string ComparableName(std::string_view name) {
    std::string result(name.substr(0, std::min(name.size(), kMaxCompared)));
    for (char& c : result) {
        if (c == '\\' || c == '/') c = '_';
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

// Checks (and, when `out` is given, copies) one member. Stored members only: the archive never
// holds compressed ones.
RarArchive::Result Unpack(std::span<const uint8_t> archive, const rar::Block& block, ByteBlock* out) {
    if (block.version < rar::kOldestVersion || block.version > rar::kNewestVersion) {
        return RarArchive::Result::kUnsupported;
    }
    if (block.method != rar::kMethodStored) return RarArchive::Result::kUnsupported;
    // A stored member holds all its bytes; fewer packed than unpacked bytes is damage.
    const uint32_t size = block.unpackedSize;
    if (size > block.packedSize) return RarArchive::Result::kDamaged;
    const uint64_t start = block.DataOffset();
    if (start > archive.size() || archive.size() - start < size) return RarArchive::Result::kDamaged;
    const std::span<const uint8_t> data = archive.subspan(start, size);
    if (rar::Crc32(data) != block.fileCrc) return RarArchive::Result::kCrcMismatch;
    if (out) {
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
        if (size > 0) std::memcpy(bytes.get(), data.data(), size);
        out->Own(std::move(bytes), size);
    }
    return RarArchive::Result::kOk;
}

}  // namespace

bool RarArchive::Open(const FileSource& source) {
    Close();
    FileSource from = source;
    bool wantReference = true;
    return from.ReadAll(bytes_, wantReference);
}

void RarArchive::Close() { bytes_.Reset(); }

bool RarArchive::Exists(const char* /*path*/) const { return true; }

std::unique_ptr<DataStream> RarArchive::OpenFile(const char* path, int mode) {
    ByteBlock member;
    if (!path || Extract(path, member) != Result::kOk) return nullptr;
    return MemoryStream::Over(std::move(member), mode);
}

RarArchive::Result RarArchive::Extract(std::string_view path, ByteBlock& out) const {
    out.Reset();
    rar::BlockWalker walker(bytes_.Bytes());
    if (!walker.Start()) return Result::kNotAnArchive;
    const std::string wanted = ComparableName(path);
    rar::Block block;
    while (walker.Next(block)) {
        if (block.type != rar::kFileHeader) continue;
        const bool match = ComparableName(block.name) == wanted;
        // In a solid archive every member passes through in turn, so a bad one stops the search.
        if (!match && !walker.Solid()) continue;
        const Result result = Unpack(bytes_.Bytes(), block, match ? &out : nullptr);
        if (result != Result::kOk || match) return result;
    }
    return Result::kNotFound;
}

bool RarArchive::List(std::vector<Member>& members) const {
    members.clear();
    rar::BlockWalker walker(bytes_.Bytes());
    if (!walker.Start()) return false;
    rar::Block block;
    while (walker.Next(block)) {
        if (block.type != rar::kFileHeader) continue;
        members.push_back({EngineString(block.name), block.packedSize, block.unpackedSize, block.fileCrc,
                           block.attributes, block.flags, block.version, block.method, block.IsDirectory()});
    }
    return true;
}

const char* DescribeRarResult(RarArchive::Result result) {
    switch (result) {
        case RarArchive::Result::kOk: return "ok";
        case RarArchive::Result::kNotAnArchive: return "not a RAR archive";
        case RarArchive::Result::kNotFound: return "no such member";
        case RarArchive::Result::kUnsupported: return "unsupported version or compression method";
        case RarArchive::Result::kDamaged: return "damaged member";
        case RarArchive::Result::kCrcMismatch: return "CRC mismatch";
    }
    return "unknown";
}
