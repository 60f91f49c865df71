#pragma once
// Installs the embedded text resources from the source tree (media/), as the program links them.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "media/Manifest.h"
#include "platform/sys/LinkedResources.h"

class MediaResources {
public:
    // `mediaArchive`: also the generated media archive, as the program links it (the test binary
    // must depend on the media_archive target).
    explicit MediaResources(bool mediaArchive = false) {
        Add(manifest::kDefaultSettings.type, manifest::kDefaultSettings.id, manifest::kDefaultSettings.file);
        Add(manifest::kDialogText.type, manifest::kDialogText.id, manifest::kDialogText.file);
#ifdef QUELMONT_BINARY_DIR
        if (mediaArchive) {
            std::ifstream in(std::string(QUELMONT_BINARY_DIR) + "/media/media.rar", std::ios::binary);
            files_.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            Add(manifest::kMediaArchive, files_.back());
        }
#endif
        sys::SetResources(&table_);
    }
    ~MediaResources() { sys::SetResources(nullptr); }
    MediaResources(const MediaResources&) = delete;
    MediaResources& operator=(const MediaResources&) = delete;

    void Add(const char* type, int id, const std::string& mediaFile) {
        const char* root = std::getenv("QUELMONT_SOURCE_DIR");
        std::ifstream in(std::string(root ? root : ".") + "/media/" + mediaFile, std::ios::binary);
        files_.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        Add(type, id, files_.back());
    }
    void Add(const char* type, int id, const std::vector<uint8_t>& bytes) { table_.Add(type, id, bytes); }
    void Add(const manifest::Resource& resource, const std::vector<uint8_t>& bytes) {
        Add(resource.type, resource.id, bytes);
    }

private:
    sys::ResourceTable table_;
    std::list<std::vector<uint8_t>> files_;  // stable addresses for the table
};
