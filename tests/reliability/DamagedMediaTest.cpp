// The saver handed a damaged install: each media file in turn emptied, cut in half or garbled in
// the "Media" folder that overrides the archive. It must run or end with its start-up failure,
// never crash, hang or leak. QUELMONT_FULL_MATRIX=1 damages every file of a kind (scripts/stress),
// otherwise the first one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "reliability/ProgramChecks.h"

namespace {

namespace fs = std::filesystem;

enum class Damage { kEmpty, kHalf, kGarbled };

void DamageFile(const fs::path& path, Damage damage) {
    std::string bytes = ReadFile(path.string());
    switch (damage) {
        case Damage::kEmpty: bytes.clear(); break;
        case Damage::kHalf: bytes.resize(bytes.size() / 2); break;
        case Damage::kGarbled:
            // Spread over the whole file, headers included; fixed, so a failure repeats.
            for (size_t i = 0; i < bytes.size(); ++i)
                if ((i * 2654435761u) % 13 == 0) bytes[i] = static_cast<char>(bytes[i] ^ 0xA5);
            break;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const char* DamageName(Damage damage) {
    return damage == Damage::kEmpty ? "empty" : damage == Damage::kHalf ? "half" : "garbled";
}

std::vector<fs::path> MediaFiles(std::string extension) {
    const fs::path tree = fs::path(QUELMONT_BINARY_DIR) / "media/tree/Media";
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(tree, error)) {
        std::string name = entry.path().extension().string();
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        if (entry.is_regular_file() && name == extension) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    const char* full = std::getenv("QUELMONT_FULL_MATRIX");
    if (!(full && *full == '1') && files.size() > 1) files.resize(1);
    return files;
}

// Files of the other kinds still come from the archive: only the damaged one is on disk.
void RunMatrix(const std::string& extension) {
    const std::vector<fs::path> files = MediaFiles(extension);
    ASSERT_FALSE(files.empty()) << "no " << extension << " file in the media tree";
    const fs::path tree = fs::path(QUELMONT_BINARY_DIR) / "media/tree/Media";
    for (const fs::path& file : files) {
        for (Damage damage : {Damage::kEmpty, Damage::kHalf, Damage::kGarbled}) {
            TempDir dir;
            // By the name the saver asks for: the scene is "clock.UDF" in the tree and "clock.udf"
            // to the saver, and a loose file is found only by its exact name.
            fs::path copy = fs::path(dir.path()) / "Media" / fs::relative(file, tree);
            copy.replace_extension(extension);
            fs::create_directories(copy.parent_path());
            fs::copy_file(file, copy);
            DamageFile(copy, damage);
            const ProgramRun run = RunProgram(
                dir, {"--record", dir.path() + "/out", "--seconds", "2", "--size", "64x48", "--fps", "4"},
                SanitizerEnvironment());
            EXPECT_TRUE(EndedCleanly(run, {0, 1})) << file.filename() << " " << DamageName(damage);
            // A run that got past start-up drew its frames and closed its trace.
            if (run.exitCode == 0) {
                const std::string trace = ReadFile(dir.path() + "/out/trace.log");
                EXPECT_NE(trace.find("<<Log closed"), std::string::npos) << file.filename() << " " << DamageName(damage);
            }
            std::printf("damaged media: %s %s -> %d\n", file.filename().c_str(), DamageName(damage), run.exitCode);
        }
    }
}

}  // namespace

TEST(DamagedMedia, Scene) { RunMatrix(".udf"); }
TEST(DamagedMedia, SceneSettings) { RunMatrix(".props"); }
TEST(DamagedMedia, CameraPaths) { RunMatrix(".cam"); }
TEST(DamagedMedia, Textures) { RunMatrix(".dds"); }
TEST(DamagedMedia, Pictures) { RunMatrix(".png"); }
TEST(DamagedMedia, Sounds) { RunMatrix(".ogg"); }
