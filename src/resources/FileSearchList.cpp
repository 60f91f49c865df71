#include "resources/FileSearchList.h"

#include <algorithm>
#include <string_view>

#include "resources/DiskStream.h"
#include "resources/RarArchive.h"

namespace {

bool SamePlace(const FileSource& a, const FileSource& b) {
    if (a.path != b.path) return false;
    const bool bothDisk = (a.sources & FileSource::kDisk) && (b.sources & FileSource::kDisk);
    const bool sameArchive =
        (a.sources & FileSource::kArchive) && (b.sources & FileSource::kArchive) && a.archive == b.archive;
    return bothDisk || sameArchive;
}

void AddOnce(std::vector<FileSource>& list, const FileSource& source) {
    const auto same = [&](const FileSource& entry) { return SamePlace(entry, source); };
    if (std::none_of(list.begin(), list.end(), same)) list.push_back(source);
}

std::string_view StripLeading(std::string_view text, char c) {
    while (!text.empty() && text.front() == c) text.remove_prefix(1);
    return text;
}

std::string_view StripTrailing(std::string_view text, char c) {
    while (!text.empty() && text.back() == c) text.remove_suffix(1);
    return text;
}

// "dir" + "/" + name, with the directory's trailing separators dropped first.
EngineString JoinPath(const EngineString& directory, std::string_view name) {
    const std::string_view dir = StripTrailing(StripTrailing(directory.view(), '\\'), '/');
    return EngineString(dir) + "/" + EngineString(name);
}

bool OpensOnDisk(const EngineString& path) {
    DiskStream stream;
    return stream.Open(path.c_str(), DataStream::kRead);
}

}  // namespace

void FileSearchList::Add(const FileSource& source) {
    if (source.sources & FileSource::kDisk) AddOnce(directories_, source);
    if ((source.sources & FileSource::kArchive) && source.archive) AddOnce(archives_, source);
}

void FileSearchList::Merge(const FileSearchList& other) {
    for (const FileSource& source : other.directories_) Add(source);
    for (const FileSource& source : other.archives_) Add(source);
}

bool FileSearchList::Resolve(FileSource& source) const {
    if (source.sources & FileSource::kMemory) {
        source.sources = FileSource::kMemory;
        return true;
    }
    if ((source.sources & FileSource::kResource) && !FileSource::FindMemFile(source.resourceId).empty()) {
        source.sources = FileSource::kResource;
        return true;
    }
    // An absolute path (a picture the user chose) names one file; only relative names are searched.
    if ((source.sources & FileSource::kDisk) && source.path.view().starts_with('/') && OpensOnDisk(source.path)) {
        source.sources = FileSource::kDisk;
        return true;
    }
    const EngineString name(StripLeading(StripLeading(source.path.view(), '/'), '\\'));
    if (source.sources & FileSource::kDisk) {
        if (OpensOnDisk(name)) {
            source.sources = FileSource::kDisk;
            source.path = name;
            return true;
        }
        for (const FileSource& directory : directories_) {
            EngineString candidate = JoinPath(directory.path, name.view());
            if (OpensOnDisk(candidate)) {
                source.sources = FileSource::kDisk;
                source.path = std::move(candidate);
                return true;
            }
        }
    }
    if (source.sources & FileSource::kArchive) {
        if (source.archive && source.archive->Exists(name.c_str())) {
            source.sources = FileSource::kArchive;
            source.path = name;
            return true;
        }
        for (const FileSource& entry : archives_) {
            EngineString candidate = JoinPath(entry.path, name.view());
            if (entry.archive->Exists(candidate.c_str())) {
                source.sources = FileSource::kArchive;
                source.archive = entry.archive;
                source.path = std::move(candidate);
                return true;
            }
        }
    }
    return false;
}
