#include "shell/SceneSettings.h"

#include <memory>
#include <numbers>

#include "udf/UdfTextNode.h"
#include "udf/UdfTextParser.h"

namespace {

// A colour is written as three integers 0 to 255.
void ReadColor(const UdfTextNode& root, const char* key, EngineColor& color) {
    const UdfTextNode* node = root.FindChild(key);
    if (!node) return;
    float* channels[3] = {&color.r, &color.g, &color.b};
    const char* names[3] = {"0", "1", "2"};
    for (int i = 0; i < 3; ++i) {
        const UdfTextNode* channel = node->FindChild(names[i]);
        *channels[i] = static_cast<float>(channel ? channel->AsInt() : 0) / 255.0f;
    }
    color.a = 1.0f;
}

void ReadReal(const UdfTextNode& root, const char* key, float& value) {
    if (const UdfTextNode* node = root.FindChild(key)) value = static_cast<float>(node->AsReal());
}

}  // namespace

void ReadSceneProps(const UdfTextNode& root, SceneSettings& settings, std::vector<EngineString>& pathNames) {
    ReadColor(root, "Ambient", settings.ambient);
    ReadColor(root, "BgColor", settings.bgColor);
    ReadColor(root, "FogColor", settings.fogColor);
    ReadReal(root, "NearPlane", settings.nearPlane);
    ReadReal(root, "FarPlane", settings.farPlane);
    ReadReal(root, "FogStart", settings.fogStart);
    ReadReal(root, "FogEnd", settings.fogEnd);
    float fovDegrees = 0;
    if (root.FindChild("Fov")) {
        ReadReal(root, "Fov", fovDegrees);
        settings.fov = fovDegrees / 180.0f * std::numbers::pi_v<float>;
    }
    ReadReal(root, "CamSpeed", settings.camSpeed);
    if (const UdfTextNode* list = root.FindChild("Animations")) {
        for (const auto& entry : list->Children()) pathNames.push_back(entry.node->AsString());
    }
}

bool LoadSceneProps(FileSource file, UdfTextNode& root, SceneSettings& settings,
                    std::vector<EngineString>& pathNames) {
    std::unique_ptr<DataStream> stream = file.Open(DataStream::kRead);
    if (!stream) return false;
    ParseUdfText(*stream, root, nullptr);
    ReadSceneProps(root, settings, pathNames);
    return true;
}
