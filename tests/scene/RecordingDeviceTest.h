#pragma once
// A recording device published as the current device for the scene code.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/RecordingDevice.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "textures/Texture.h"

namespace scenefiles {

// The recording device as the scene's current device, with a fresh state cache.
class RecordingDeviceTest : public ::testing::Test {
protected:
    // Calls recorded since the last clear whose line starts with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& call : device_.Calls())
            if (call.rfind(prefix, 0) == 0) out.push_back(call);
        return out;
    }
    // A texture of the given format on the recording device.
    std::unique_ptr<::Texture> MakeTexture(gfx::D3DFORMAT format) {
        auto shared = std::make_shared<TextureDevice>();
        shared->device = gfx::Ref<gfx::Device>(&device_);
        auto texture = std::make_unique<::Texture>(shared);
        EXPECT_TRUE(texture->CreateEmpty(0, 4, 4, 1, 0, format, gfx::D3DPOOL_MANAGED));
        return texture;
    }

    bool Called(const std::string& line) const {
        for (const std::string& call : device_.Calls())
            if (call == line) return true;
        return false;
    }

    gfx::RecordingDevice device_;
    PublishedDevice published_{device_};
};

}  // namespace scenefiles
