#include "overlay/MediaText.h"

#include <memory>

#include "udf/UdfTextParser.h"

bool ParseMediaText(const EngineString& name, const FileSearchList& searchList, UdfTextNode& root) {
    FileSource source;
    source.sources = FileSource::kDisk | FileSource::kArchive;
    source.path = name;
    if (!searchList.Resolve(source)) return false;
    std::unique_ptr<DataStream> stream = source.Open(DataStream::kRead);
    if (!stream) return false;
    const bool parsed = ParseUdfText(*stream, root, &searchList);
    stream->Close();
    return parsed;
}
