#pragma once
// A fresh directory under the test temp dir, removed with everything in it at the end.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    TempDir() {
        // A random name, taken only if nobody has it: create_directory refuses an existing one.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::string candidate = testing::TempDir() + "quelmont-" + std::to_string(random());
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
