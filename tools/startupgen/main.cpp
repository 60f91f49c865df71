// startupgen OUTDIR: writes startup.jpg (resource 186), logo.tga (187) and the three 48-byte
// placeholders placeholder-188.bin to placeholder-190.bin that keep the other corners empty.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Paintings.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!bytes.empty() && out) return true;
    std::fprintf(stderr, "startupgen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: startupgen OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = Write(dir + "/startup.jpg", gfx::EncodeJpeg(PaintStartupPicture().ToImage(), 90));
    ok = Write(dir + "/logo.tga", gfx::EncodeTga(PaintCornerLogo().ToImage(), 32, false)) && ok;
    // Small enough to read as "no logo here".
    const std::vector<uint8_t> placeholder(48, 0);
    for (const int id : {188, 189, 190}) ok = Write(dir + "/placeholder-" + std::to_string(id) + ".bin", placeholder) && ok;
    return ok ? 0 : 1;
}
