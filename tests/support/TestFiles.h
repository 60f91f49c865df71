#pragma once
// Helpers shared by the data-format tests: resource tables, scratch folders and files.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/Resources.h"

namespace testing_support {

// A resource table held in memory, installed for the guard's lifetime.
class ScopedResources final : public sys::Resources {
public:
    ScopedResources() { sys::SetResources(this); }
    ~ScopedResources() override { sys::SetResources(nullptr); }
    ScopedResources(const ScopedResources&) = delete;
    ScopedResources& operator=(const ScopedResources&) = delete;

    void Add(std::string type, int id, std::vector<uint8_t> bytes) {
        table_[{std::move(type), id}] = std::move(bytes);
    }
    std::span<const uint8_t> Find(std::string_view type, int id) const override {
        const auto it = table_.find({std::string(type), id});
        return it == table_.end() ? std::span<const uint8_t>() : std::span<const uint8_t>(it->second);
    }

private:
    std::map<std::pair<std::string, int>, std::vector<uint8_t>> table_;
};

// A fresh folder under the system's temporary folder, removed with the guard.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // Writes `bytes` to `relative` below the folder, creating folders on the way.
    std::filesystem::path Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    std::filesystem::path Write(const std::string& relative, const std::string& text) const;

private:
    std::filesystem::path path_;
};

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

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
std::vector<uint8_t> Bytes(const std::string& text);

}  // namespace testing_support
