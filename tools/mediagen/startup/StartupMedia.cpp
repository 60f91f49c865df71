// The "startup" kind of the media generator: the picture shown while the saver loads (a JPEG),
// the corner logo (a 32-bit TGA) and the 48-byte placeholders that switch the other corner logos
// off, each linked into the program as a resource of its own.
#include <vector>

#include "MediaGenerator.h"
#include "Paintings.h"
#include "media/Manifest.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool GenerateStartup(const std::filesystem::path& dir) {
    bool ok = WriteMediaFile(dir / manifest::kStartupPicture.file, gfx::EncodeJpeg(PaintStartupPicture().ToImage(), 90));
    ok = WriteMediaFile(dir / manifest::kLogoBottomRight.file, gfx::EncodeTga(PaintCornerLogo().ToImage(), 32, false)) && ok;
    // Small enough to read as "no logo here".
    const std::vector<uint8_t> placeholder(48, 0);
    for (const manifest::Resource& logo : {manifest::kLogoBottomLeft, manifest::kLogoTopLeft, manifest::kLogoTopRight})
        ok = WriteMediaFile(dir / logo.file, placeholder) && ok;
    return ok;
}

const MediaGeneratorRegistration registration({"startup", GenerateStartup, MediaGenerator::kProgram});

}  // namespace
