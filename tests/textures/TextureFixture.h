#pragma once
// A texture manager over the recording device, with image files written to a temporary folder.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "textures/TextureManager.h"
#include "support/TempDir.h"

class TextureFixture : public ::testing::Test {
protected:
    // Relative names are found in the temporary folder (the search list drops a leading "/", so
    // requests name files relative to it).
    TextureFixture() { manager.SearchList().Add(FileSource(EngineString(dir.path().c_str()))); }

    // Writes `bytes` as `name` in the temporary folder and gives the name to ask for.
    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return name;
    }
    std::string Path(const std::string& name) const { return dir.path() + "/" + name; }
    std::string WriteText(const std::string& name, const std::string& text) {
        return WriteFile(name, std::vector<uint8_t>(text.begin(), text.end()));
    }
    static std::vector<uint8_t> Png(uint32_t width, uint32_t height, uint32_t argb) {
        gfx::ArgbImage image(width, height);
        std::fill(image.pixels.begin(), image.pixels.end(), argb);
        return gfx::EncodePng(image, true);
    }
    // A request for a file on disk or in the archive, with no parameters.
    static TextureDescriptor Request(const std::string& path) {
        TextureDescriptor d;
        d.source = FileSource(EngineString(path.c_str()));
        d.source.sources = FileSource::kDisk | FileSource::kArchive;
        return d;
    }
    // The colour of level 0 at (x, y) of a 32-bit device texture.
    static uint32_t PixelAt(const gfx::Texture& texture, uint32_t x, uint32_t y) {
        uint32_t value;
        std::memcpy(&value, texture.LevelBits(0) + static_cast<size_t>(y) * texture.Pitch(0) + 4 * x, 4);
        return value;
    }

    TempDir dir;
    gfx::RecordingDevice device;
    TextureManager manager{&device};
};
