#pragma once
// Names a file and the places it may come from: disk, the archive, a resource linked into the
// program, or a block of memory. Opening tries them in a fixed order and remembers which one
// served the file.

#include <cstdint>
#include <memory>
#include <span>

#include "common/EngineString.h"
#include "resources/ByteBlock.h"
#include "resources/DataStream.h"

class RarArchive;

struct FileSource {
    enum Place : uint32_t { kDisk = 1, kArchive = 2, kResource = 4, kMemory = 8 };

    uint32_t sources = 0;
    EngineString path;  // disk path, or name inside the archive
    int32_t resourceId = 0;
    RarArchive* archive = nullptr;
    const uint8_t* memory = nullptr;
    uint32_t memorySize = 0;
    bool reference = true;  // memory: streams and reads may refer to the block instead of copying

    FileSource() = default;
    explicit FileSource(EngineString diskPath) : sources(kDisk), path(std::move(diskPath)) {}
    FileSource(const uint8_t* data, uint32_t size, bool refer)
        : sources(kMemory), memory(data), memorySize(size), reference(refer) {}
    explicit FileSource(int32_t id) : sources(kResource), resourceId(id) {}
    FileSource(RarArchive* inArchive, EngineString pathInArchive)
        : sources(kArchive), path(std::move(pathInArchive)), archive(inArchive) {}

    // The bytes of the program's resource of type "MEMFILE" with this id; empty when missing.
    static std::span<const uint8_t> FindMemFile(int32_t id);

    // Resource or memory, then disk, then archive. The stream belongs to the caller; null when no
    // place delivers the file. `sources` keeps the bit of the place that answered.
    std::unique_ptr<DataStream> Open(int mode);
    // All bytes of the file. On entry `wantReference` asks for a reference to bytes that outlive
    // the call (resource or referenced memory); on return it says whether `out` is one.
    bool ReadAll(ByteBlock& out, bool& wantReference);
    // The folder holding `path`, in the same places.
    FileSource ParentDirectory() const;
};
