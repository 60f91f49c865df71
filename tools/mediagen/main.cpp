// mediagen OUTDIR: runs every registered generator, those of the archive into OUTDIR/tree/Media
// (made anew), those of the program's own resources into OUTDIR, then packs OUTDIR/tree into
// OUTDIR/media.rar, a stored archive with a "Media" folder entry. mediagen --kind NAME DIR runs
// one generator into DIR (the desktop's icons are made only so).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "MediaGenerator.h"
#include "resources/DiskStream.h"
#include "resources/RarWriter.h"

namespace fs = std::filesystem;

namespace {

// mediagen --kind NAME DIR: one kind, written straight into DIR.
int GenerateKind(const char* name, const fs::path& dir) {
    for (const MediaGenerator& generator : RegisteredMediaGenerators()) {
        if (std::strcmp(generator.name, name) != 0) continue;
        std::error_code error;
        fs::create_directories(dir, error);
        if (error || !generator.generate(dir)) {
            std::fprintf(stderr, "mediagen: %s failed\n", name);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "mediagen: no kind named %s\n", name);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--kind") == 0) return GenerateKind(argv[2], argv[3]);
    if (argc != 2) {
        std::fputs("usage: mediagen OUTDIR\n       mediagen --kind NAME DIR\n", stderr);
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path tree = out / "tree";
    const fs::path media = tree / "Media";
    std::error_code error;
    fs::remove_all(media, error);
    fs::create_directories(media, error);
    if (error) {
        std::fprintf(stderr, "mediagen: cannot make %s: %s\n", media.c_str(), error.message().c_str());
        return 1;
    }

    std::vector<MediaGenerator> generators = RegisteredMediaGenerators();
    std::sort(generators.begin(), generators.end(),
              [](const MediaGenerator& a, const MediaGenerator& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const MediaGenerator& generator : generators) {
        if (generator.output == MediaGenerator::kDesktop) continue;
        const auto start = std::chrono::steady_clock::now();
        if (!generator.generate(generator.output == MediaGenerator::kArchive ? media : out)) {
            std::fprintf(stderr, "mediagen: %s failed\n", generator.name);
            return 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("mediagen: %s %.2f s\n", generator.name, seconds);
    }

    const fs::path archive = out / "media.rar";
    const fs::path partial = out / "media.rar.part";
    {
        DiskStream stream;
        if (!stream.Open(partial.c_str(), DataStream::kWrite) || !RarWriter::PackDirectory(tree.c_str(), stream)) {
            std::fprintf(stderr, "mediagen: cannot write %s\n", partial.c_str());
            return 1;
        }
    }
    fs::rename(partial, archive, error);
    if (error) {
        std::fprintf(stderr, "mediagen: cannot write %s: %s\n", archive.c_str(), error.message().c_str());
        return 1;
    }
    return 0;
}
