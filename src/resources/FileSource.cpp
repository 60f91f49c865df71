#include "resources/FileSource.h"

#include <cstring>
#include <string_view>

#include "platform/sys/Resources.h"
#include "resources/DiskStream.h"
#include "resources/MemoryStream.h"
#include "resources/RarArchive.h"

namespace {

std::unique_ptr<uint8_t[]> CopyOf(std::span<const uint8_t> bytes) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size()]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    return copy;
}

}  // namespace

std::span<const uint8_t> FileSource::FindMemFile(int32_t id) { return sys::GetResources().Find("MEMFILE", id); }

std::unique_ptr<DataStream> FileSource::Open(int mode) {
    if (sources & (kResource | kMemory)) {
        std::span<const uint8_t> bytes;
        bool refer = false;
        bool found = true;
        if (sources & kResource) {
            bytes = FindMemFile(resourceId);
            found = !bytes.empty();
            if (found) sources = kResource;
            refer = true;
        } else {
            bytes = {memory, memorySize};
            sources = kMemory;
            refer = reference;
        }
        if (found) {
            const auto length = static_cast<uint32_t>(bytes.size());
            ByteBlock block;
            if (refer || (mode & DataStream::kWrite)) {
                block.Refer(bytes.data(), length);
            } else {
                block.Own(CopyOf(bytes), length);
            }
            return MemoryStream::Over(std::move(block), mode);
        }
    }
    if (sources & kDisk) {
        auto stream = std::make_unique<DiskStream>();
        if (stream->Open(path.c_str(), mode)) {
            sources = kDisk;
            return stream;
        }
    }
    if ((sources & kArchive) && archive) {
        sources = kArchive;
        return archive->OpenFile(path.c_str(), mode);
    }
    return nullptr;
}

bool FileSource::ReadAll(ByteBlock& out, bool& wantReference) {
    out.Reset();
    if (sources & kResource) {
        const std::span<const uint8_t> bytes = FindMemFile(resourceId);
        if (!bytes.empty()) {
            sources = kResource;
            const auto length = static_cast<uint32_t>(bytes.size());
            if (wantReference) {
                out.Refer(bytes.data(), length);
            } else {
                out.Own(CopyOf(bytes), length);
            }
            return true;
        }
    } else if (sources & kMemory) {
        sources = kMemory;
        wantReference = wantReference && reference;
        if (wantReference) {
            out.Refer(memory, memorySize);
        } else {
            out.Own(CopyOf({memory, memorySize}), memorySize);
        }
        return true;
    }
    wantReference = false;
    std::unique_ptr<DataStream> stream = Open(DataStream::kRead);
    if (!stream) return false;
    const uint32_t size = stream->Size();
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
    // An empty file reads as an empty block; a short read is a failure, not a shorter file.
    const bool ok = stream->ReadAll(bytes.get(), size);
    stream->Close();
    if (ok) out.Own(std::move(bytes), size);
    return ok;
}

FileSource FileSource::ParentDirectory() const {
    const std::string_view full = path.view();
    const size_t cut = full.find_last_of("/\\");
    FileSource parent;
    parent.sources = sources & (kDisk | kArchive);
    parent.archive = archive;
    if (cut != std::string_view::npos && cut != 0) parent.path = EngineString(full.substr(0, cut));
    if (parent.path.empty()) parent.sources &= ~uint32_t{kDisk};
    return parent;
}
