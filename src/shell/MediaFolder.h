#pragma once
// The media the room is made of: loose files under the folder "Media" on disk, else the members
// of the archive linked into the program (one archive for the whole run, read in place).

#include "common/EngineString.h"
#include "resources/FileSearchList.h"
#include "resources/FileSource.h"
#include "resources/RarArchive.h"

class MediaFolder {
public:
    // The folder's name, on disk and in the archive.
    static constexpr const char* kName = "Media";

    // Opens the archive from the program's resource.
    void Mount();
    // The media file `name` ("clock.udf", "c1.cam", ...).
    FileSource File(const EngineString& name);
    // Where textures are looked for: the folder on disk, then the archive.
    void AddTo(FileSearchList& list);

private:
    RarArchive archive_;
};
