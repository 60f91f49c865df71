#include "overlay/MediaText.h"

#include <memory>

#include "udf/UdfTextParser.h"

EngineString MediaName(const EngineString& name) {
    std::string_view text = name.view();
    while (!text.empty() && (text.front() == '/' || text.front() == '\\')) text.remove_prefix(1);
    return EngineString(text);
}

bool ParseMediaText(const EngineString& name, const MediaFiles& media, UdfTextNode& root) {
    std::unique_ptr<DataStream> stream = media(MediaName(name)).Open(DataStream::kRead);
    if (!stream) return false;
    const bool parsed = ParseUdfText(*stream, root, nullptr);
    stream->Close();
    return parsed;
}
