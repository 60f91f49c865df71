#pragma once
// Where relative names are looked for: search directories on disk and search archives (an
// archive with a path prefix), each in the order they were added.

#include <vector>

#include "resources/FileSource.h"

class FileSearchList {
public:
    // Disk sources join the directories, archive sources with an archive join the archives; a
    // source already listed is not added again.
    void Add(const FileSource& source);
    void Merge(const FileSearchList& other);
    // Finds the file `source` names and rewrites `source` to the place that has it; false (and
    // `source` unchanged) when no place has it.
    bool Resolve(FileSource& source) const;

    const std::vector<FileSource>& Directories() const { return directories_; }
    const std::vector<FileSource>& Archives() const { return archives_; }

private:
    std::vector<FileSource> directories_;
    std::vector<FileSource> archives_;
};
