// The icon in every size of the hicolor theme, as DIR/hicolor/NxN/apps/quelmont.png.
#include <cstdio>
#include <string>
#include <system_error>

#include "IconPainter.h"
#include "MediaGenerator.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool GenerateIcons(const std::filesystem::path& dir) {
    for (const uint32_t size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = dir / "hicolor" / name / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "mediagen: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
            return false;
        }
        if (!WriteMediaFile(folder / "quelmont.png", gfx::EncodePng(PaintIcon(size), true, 9))) return false;
    }
    return true;
}

const MediaGeneratorRegistration kRegistration({"icons", &GenerateIcons, MediaGenerator::kDesktop});

}  // namespace
