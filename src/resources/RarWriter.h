#pragma once
// Writes RAR 2.x archives with stored members, as the media build packs the media folder: names
// with backslashes, a folder entry for every folder, version 20, header CRCs, an end block.

#include <span>
#include <string_view>

#include "resources/DataStream.h"

class RarWriter {
public:
    explicit RarWriter(DataStream& out) : out_(out) {}

    // The marker and the main archive header.
    bool Start();
    // `name` may use either separator; it is stored with backslashes.
    bool AddDirectory(std::string_view name);
    bool AddFile(std::string_view name, std::span<const uint8_t> data);
    // The end-of-archive block.
    bool Finish();

    // Packs every folder and file below `directory`, named relative to it, in byte order of the
    // names, so the same tree always gives the same archive.
    static bool PackDirectory(const char* directory, DataStream& out);

private:
    bool AddEntry(std::string_view name, std::span<const uint8_t> data, bool isDirectory);

    DataStream& out_;
};
