#include "shell/MediaFolder.h"

#include "common/Log.h"
#include "media/Manifest.h"

namespace {
constexpr int32_t kMediaArchiveId = manifest::kMediaArchive.id;
}

void MediaFolder::Mount() {
    if (!archive_.Open(FileSource(kMediaArchiveId))) Log("Media archive not found\n");
}

FileSource MediaFolder::File(const EngineString& name) {
    FileSource source(EngineString(kName) + "/" + name);
    source.sources = FileSource::kDisk | FileSource::kArchive;
    source.archive = &archive_;
    return source;
}

void MediaFolder::AddTo(FileSearchList& list) {
    list.Add(FileSource(EngineString(kName)));
    list.Add(FileSource(&archive_, EngineString(kName)));
}
