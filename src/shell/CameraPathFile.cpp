#include "shell/CameraPathFile.h"

#include <cmath>
#include <cstring>

#include "scene/Animation.h"
#include "udf/UdfReader.h"

namespace {

constexpr uint32_t kKeyBytes = sizeof(AnimationKey);

bool ReadKey(const UdfNode& node, AnimationKey& key) {
    if (node.Size() != kKeyBytes || !node.Data()) return false;
    float values[8];
    std::memcpy(values, node.Data(), kKeyBytes);
    for (float value : values) {
        if (!std::isfinite(value)) return false;
    }
    key.time = values[0];
    std::memcpy(key.data, values + 1, sizeof key.data);
    return true;
}

}  // namespace

bool LoadCameraPath(DataStream& stream, Animation& path) {
    path.clear();
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenStream(stream);
    if (!root || !root->Load(0)) return false;
    for (const auto& entry : root->Children()) {
        AnimationKey key;
        if (!ReadKey(*entry.node, key)) continue;
        if (entry.node->TypeName() == "pos") path.positionTrack().addKey(key);
        else path.rotationTrack().addKey(key);
    }
    return true;
}
