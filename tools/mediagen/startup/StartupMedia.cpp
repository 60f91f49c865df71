// The "startup" kind of the media generator: the picture shown while the saver loads (a JPEG),
// the corner logo (a 32-bit TGA) and the 48-byte placeholders that switch the other corner logos
// off, each linked into the program as a resource of its own.
#include <string>
#include <vector>

#include "MediaGenerator.h"
#include "Paintings.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool GenerateStartup(const std::filesystem::path& dir) {
    bool ok = WriteMediaFile(dir / "startup.jpg", gfx::EncodeJpeg(PaintStartupPicture().ToImage(), 90));
    ok = WriteMediaFile(dir / "logo.tga", gfx::EncodeTga(PaintCornerLogo().ToImage(), 32, false)) && ok;
    // Small enough to read as "no logo here".
    const std::vector<uint8_t> placeholder(48, 0);
    for (const int id : {188, 189, 190})
        ok = WriteMediaFile(dir / ("placeholder-" + std::to_string(id) + ".bin"), placeholder) && ok;
    return ok;
}

const MediaGeneratorRegistration registration({"startup", GenerateStartup, MediaGenerator::kProgram});

}  // namespace
