#pragma once
// A texture manager over the recording device that finds files in a temporary folder first and
// then in the generated media folder, with the trace going to a file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/Log.h"
#include "overlay/MediaText.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "textures/TextureManager.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "support/Files.h"
#include "support/TempDir.h"

class OverlayFixture : public ::testing::Test {
protected:
    OverlayFixture() {
        SetTracePath(trace.c_str());
    }
    ~OverlayFixture() override {
        SetTracePath(nullptr);
    }

    static std::string MediaFolder() { return std::string(QUELMONT_BINARY_DIR) + "/media/tree/Media"; }
    // Media files: the test's own in the temporary folder, the rest from the generated media.
    // Paths are relative, as the program's are (the texture manager takes disk paths so).
    MediaFiles media = [this](const EngineString& name) {
        namespace fs = std::filesystem;
        const fs::path own = fs::path(dir.path()) / std::string(name.view());
        const fs::path file = fs::exists(own) ? own : fs::path(MediaFolder()) / std::string(name.view());
        // A file on another drive (Windows) has no relative path.
        const fs::path relative = fs::relative(file);
        return FileSource(EngineString((relative.empty() ? file : relative).string().c_str()));
    };
    void WriteText(const std::string& name, const std::string& text) {
        std::ofstream(dir.path() + "/" + name, std::ios::binary) << text;
    }
    // A white picture with its alpha in a diagonal ramp.
    void WritePicture(const std::string& name, uint32_t width, uint32_t height) {
        gfx::ArgbImage image(width, height);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) image.Row(y)[x] = ((x + y) & 0xFF) << 24 | 0xFFFFFF;
        const std::vector<uint8_t> bytes = gfx::EncodePng(image, true);
        std::ofstream(dir.path() + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Trace() const { return ReadFile(trace); }

    TempDir dir;
    std::string trace = dir.path() + "/trace.log";
    gfx::RecordingDevice device;
    PublishedDevice published{device};
    TextureManager manager{&device};
};
