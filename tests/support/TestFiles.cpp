#include "support/TestFiles.h"

#include <fstream>

namespace testing_support {

std::string WriteTestFile(const std::string& dir, const std::string& relative, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path file = std::filesystem::path(dir) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

std::string WriteTestFile(const std::string& dir, const std::string& relative, const std::string& text) {
    return WriteTestFile(dir, relative, Bytes(text));
}

ScopedWorkingDir::ScopedWorkingDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace testing_support
