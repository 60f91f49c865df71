// The scene settings file from any text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/MemoryStream.h"
#include "shell/SceneSettings.h"
#include "udf/UdfTextNode.h"
#include "udf/UdfTextParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream stream;
    stream.Refer(data, static_cast<uint32_t>(size));
    stream.Open(nullptr, DataStream::kRead);
    UdfTextNode root;
    ParseUdfText(stream, root, nullptr);
    SceneSettings settings;
    std::vector<EngineString> paths;
    ReadSceneProps(root, settings, paths);
    return 0;
}
