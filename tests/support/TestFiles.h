#pragma once
// Files and folders for the data-format tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// Writes `bytes` to `relative` below `dir`, creating folders on the way; gives the full path.
std::string WriteTestFile(const std::string& dir, const std::string& relative, const std::vector<uint8_t>& bytes);
std::string WriteTestFile(const std::string& dir, const std::string& relative, const std::string& text);

// Makes the folder the working directory for the guard's lifetime.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir);
    ~ScopedWorkingDir();
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::filesystem::path previous_;
};

std::vector<uint8_t> Bytes(const std::string& text);

}  // namespace testing_support
