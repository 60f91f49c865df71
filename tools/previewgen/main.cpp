// previewgen OUT.bmp: writes the preview picture linked into the program.

#include <cstdio>

#include "PreviewPicture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: previewgen OUT.bmp\n");
        return 2;
    }
    const std::vector<uint8_t> file = EncodeBmp(DrawPreviewPicture(), kPreviewWidth, kPreviewHeight);
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool ok = out && std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (out && std::fclose(out) != 0) return 1;
    if (!ok) std::fprintf(stderr, "previewgen: cannot write %s\n", argv[1]);
    return ok ? 0 : 1;
}
