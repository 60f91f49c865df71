// The icon in every size of the hicolor theme, as DIR/hicolor/NxN/apps/quelmont.png.
#include <cstdio>
#include <fstream>
#include <string>

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
        const std::vector<uint8_t> png = gfx::EncodePng(PaintIcon(size), true, 9);
        std::ofstream out(folder / "quelmont.png", std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (error || png.empty() || !out) {
            std::fprintf(stderr, "mediagen: cannot write the %s icon in %s\n", name.c_str(), folder.c_str());
            return false;
        }
    }
    return true;
}

const MediaGeneratorRegistration kRegistration({"icons", &GenerateIcons, false});

}  // namespace
