#pragma once
// A fresh directory under the test temp dir, removed with everything in it at the end.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir() {
        std::string pattern = testing::TempDir() + "quelmont-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
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
