#include "resources/RarWriter.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/LittleEndian.h"
#include "resources/FileSource.h"
#include "resources/RarFormat.h"

namespace {

// 2000-01-01 00:00:00 in MS-DOS form: archives do not depend on when they were made.
constexpr uint32_t kFixedDosTime = ((2000 - 1980) << 9 | 1 << 5 | 1) << 16;
constexpr size_t kMaxNameBytes = 0xFFFF - rar::kFileHeadSize;

bool WriteBytes(DataStream& out, std::span<const uint8_t> bytes) {
    return out.WriteAll(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// Fills in the CRC of a finished header and writes it.
bool WriteHeader(DataStream& out, std::span<uint8_t> header) {
    PutLe16(header.data(), rar::HeaderCrc(header));
    return WriteBytes(out, header);
}

}  // namespace

bool RarWriter::Start() {
    uint8_t main[rar::kMainHeaderSize] = {};
    main[2] = rar::kMainHeader;
    PutLe16(main + 5, rar::kMainHeaderSize);
    return WriteBytes(out_, rar::kMarker) && WriteHeader(out_, main);
}

bool RarWriter::AddDirectory(std::string_view name) { return AddEntry(name, {}, true); }

bool RarWriter::AddFile(std::string_view name, std::span<const uint8_t> data) { return AddEntry(name, data, false); }

bool RarWriter::AddEntry(std::string_view name, std::span<const uint8_t> data, bool isDirectory) {
    if (name.empty() || name.size() > kMaxNameBytes || data.size() > UINT32_MAX) return false;
    std::vector<uint8_t> header(rar::kFileHeadSize + name.size());
    uint8_t* h = header.data();
    const auto size = static_cast<uint32_t>(data.size());
    h[2] = rar::kFileHeader;
    PutLe16(h + 3, rar::kLongBlock | (isDirectory ? rar::kFileDirectory : 0));
    PutLe16(h + 5, static_cast<uint16_t>(header.size()));
    PutLe32(h + 7, size);
    PutLe32(h + 11, size);
    h[15] = rar::kHostWin32;
    PutLe32(h + 16, rar::Crc32(data));
    PutLe32(h + 20, kFixedDosTime);
    h[24] = rar::kNewestVersion;
    h[25] = rar::kMethodStored;
    PutLe16(h + 26, static_cast<uint16_t>(name.size()));
    PutLe32(h + 28, isDirectory ? rar::kAttributeDirectory : rar::kAttributeArchive);
    std::transform(name.begin(), name.end(), h + rar::kFileHeadSize, [](char c) {
        return static_cast<uint8_t>(c == '/' ? '\\' : c);
    });
    return WriteHeader(out_, header) && WriteBytes(out_, data);
}

bool RarWriter::Finish() {
    uint8_t end[rar::kEndBlockSize] = {};
    end[2] = rar::kEndBlock;
    PutLe16(end + 3, rar::kEndSkipIfUnknown);
    PutLe16(end + 5, rar::kEndBlockSize);
    return WriteHeader(out_, end);
}

bool RarWriter::PackDirectory(const char* directory, DataStream& out) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path root(directory);
    if (!fs::is_directory(root, error)) return false;
    std::vector<std::pair<std::string, bool>> entries;  // relative name, is a folder
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const bool isDirectory = it->is_directory(error);
        if (!isDirectory && !it->is_regular_file(error)) continue;
        entries.emplace_back(it->path().lexically_relative(root).generic_string(), isDirectory);
    }
    if (error) return false;
    // A folder's name is a prefix of its contents' names, so it comes first.
    std::sort(entries.begin(), entries.end());
    RarWriter writer(out);
    if (!writer.Start()) return false;
    for (const auto& [name, isDirectory] : entries) {
        if (isDirectory) {
            if (!writer.AddDirectory(name)) return false;
            continue;
        }
        FileSource file(EngineString((root / name).string().c_str()));
        ByteBlock bytes;
        bool wantReference = false;
        if (!file.ReadAll(bytes, wantReference) || !writer.AddFile(name, bytes.Bytes())) return false;
    }
    return writer.Finish();
}
