// A camera path from any bytes: loaded, then flown from end to end as the player does, so keys
// of any value meet the interpolation.
#include <cstddef>
#include <cstdint>

#include "resources/MemoryStream.h"
#include "scene/Animation.h"
#include "shell/CameraPathFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream stream;
    stream.Refer(data, static_cast<uint32_t>(size));
    stream.Open(nullptr, DataStream::kRead);
    Animation path;
    if (!LoadCameraPath(stream, path)) return 0;
    TimeRange range;
    if (!path.getRange(range)) return 0;
    Matrix pose;
    for (int step = 0; step <= 16; ++step) {
        const float t = range.start + (range.end - range.start) * static_cast<float>(step) / 16.0f;
        path.evaluate(t, pose);
    }
    return 0;
}
