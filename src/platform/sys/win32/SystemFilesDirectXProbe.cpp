#include <string>
#include <vector>

#include "platform/sys/DirectXProbe.h"
#include "platform/sys/win32/DirectXFileVersions.h"

#include <windows.h>

namespace sys {
namespace {

// The fixed version of a file of the system directory, from its version resource.
bool ReadSystemFileVersion(const char* fileName, uint32_t& versionMs, uint32_t& versionLs) {
    char directory[MAX_PATH];
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string path = std::string(directory, length) + fileName;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data()) ||
        !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || fixedSize < sizeof *fixed)
        return false;
    versionMs = fixed->dwFileVersionMS;
    versionLs = fixed->dwFileVersionLS;
    return true;
}

// Reads the release from the runtime's files. The diagnostics provider is not asked: its
// answer is the same release as the files give on every system this program runs on.
class SystemFilesDirectXProbe final : public DirectXProbe {
public:
    bool ReadDiagnostics(uint32_t&, uint32_t&, char&) override { return false; }
    void ReadSystemFiles(uint32_t& major, uint32_t& minor, char& letter) override {
        ReadDirectXFileVersions(&ReadSystemFileVersion, major, minor, letter);
    }
};

}  // namespace

DirectXProbe& PlatformDirectXProbe() {
    static SystemFilesDirectXProbe probe;
    return probe;
}

}  // namespace sys
