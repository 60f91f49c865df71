#include "support/TestArchives.h"

#include <stdexcept>

#include "resources/MemoryStream.h"
#include "resources/RarFormat.h"
#include "resources/RarWriter.h"

namespace testing_support {

std::vector<uint8_t> BuildRar(const std::vector<ArchiveEntry>& entries) {
    MemoryStream out;
    out.Open(nullptr, DataStream::kWrite);
    RarWriter writer(out);
    bool ok = writer.Start();
    for (const ArchiveEntry& entry : entries) {
        ok = ok && (entry.isDirectory ? writer.AddDirectory(entry.name) : writer.AddFile(entry.name, entry.bytes));
    }
    ok = ok && writer.Finish();
    if (!ok) throw std::runtime_error("archive writer failed");
    std::vector<uint8_t> bytes(out.Size());
    out.Seek(0, DataStream::kFromStart);
    if (!bytes.empty()) out.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

size_t MemberDataOffset(const std::vector<uint8_t>& archive, const std::string& name) {
    rar::BlockWalker walker(archive);
    rar::Block block;
    if (walker.Start()) {
        while (walker.Next(block)) {
            if (block.name == name) return static_cast<size_t>(block.DataOffset());
        }
    }
    throw std::runtime_error("no member " + name);
}

}  // namespace testing_support
