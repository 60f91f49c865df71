// The archive reader over any bytes: the block list, and every member extracted by its own name
// and by another spelling of it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resources/RarArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RarArchive archive;
    if (!archive.Open(FileSource(data, static_cast<uint32_t>(size), true))) return 0;
    std::vector<RarArchive::Member> members;
    archive.List(members);
    uint64_t sum = 0;
    for (const RarArchive::Member& member : members) {
        ByteBlock out;
        if (archive.Extract(member.name.view(), out) == RarArchive::Result::kOk && out.size > 0) {
            sum += out.data[out.size - 1];
        }
        std::string other(member.name.view());
        for (char& c : other) c = c == '\\' ? '/' : static_cast<char>(c ^ 0x20);
        if (auto stream = archive.OpenFile(other.c_str(), DataStream::kRead)) sum += stream->Size();
    }
    ByteBlock missing;
    archive.Extract("Media/none", missing);
    return sum == 1 ? 1 : 0;
}
