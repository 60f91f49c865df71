#pragma once
// A RAR 2.x archive read in place from memory: opened on the program's resource it refers to the
// resource's bytes and never copies them. Members are extracted one at a time into their own
// block; only stored members are supported, and every member's CRC is checked.

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "common/EngineString.h"
#include "resources/ByteBlock.h"
#include "resources/DataStream.h"
#include "resources/FileSource.h"

class RarArchive {
public:
    enum class Result { kOk, kNotAnArchive, kNotFound, kUnsupported, kDamaged, kCrcMismatch };

    struct Member {
        EngineString name;
        uint32_t packedSize = 0;
        uint32_t unpackedSize = 0;
        uint32_t crc = 0;
        uint32_t attributes = 0;
        uint16_t flags = 0;
        uint8_t version = 0;
        uint8_t method = 0;
        bool isDirectory = false;
    };

    RarArchive() = default;
    RarArchive(const RarArchive&) = delete;
    RarArchive& operator=(const RarArchive&) = delete;
    virtual ~RarArchive() = default;

    // Takes the archive's bytes from `source`, as a reference when the source allows it.
    virtual bool Open(const FileSource& source);
    virtual void Close();
    // Always true: whether a member exists is known only when it is opened.
    virtual bool Exists(const char* path) const;
    // A stream over the extracted member, or null when it is missing, damaged or unsupported.
    virtual std::unique_ptr<DataStream> OpenFile(const char* path, int mode);

    // Extracts the member `path` (names match regardless of case and of "/" or "\") into its own
    // block; the result says why not, for tools. The engine only asks whether it worked.
    Result Extract(std::string_view path, ByteBlock& out) const;
    // Every file block, in archive order; false when the bytes are not a RAR archive.
    bool List(std::vector<Member>& members) const;
    std::span<const uint8_t> Bytes() const { return bytes_.Bytes(); }
    bool RefersToBytes() const { return bytes_.IsReference(); }

private:
    ByteBlock bytes_;
};

const char* DescribeRarResult(RarArchive::Result result);
