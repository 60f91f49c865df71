#include "MediaGenerator.h"

#include <cstdio>
#include <fstream>

std::vector<MediaGenerator>& RegisteredMediaGenerators() {
    static std::vector<MediaGenerator> generators;
    return generators;
}

bool WriteMediaFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!bytes.empty() && out) return true;
    std::fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
    return false;
}
