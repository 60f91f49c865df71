#pragma once
// The two ways the shell learns which graphics runtime is installed: a diagnostics provider that
// reports a version directly, and version resources of files in the system directory.

#include <cstdint>

namespace sys {

class DirectXProbe {
public:
    virtual ~DirectXProbe() = default;
    // True only when major, minor and the letter (0 for none) could all be read.
    virtual bool ReadDiagnostics(uint32_t& major, uint32_t& minor, char& letter) = 0;
    // The fixed file version (most and least significant words) of a file in the system
    // directory, e.g. "\\ddraw.dll"; false when the file or its version information is missing.
    virtual bool GetSystemFileVersion(const char* fileName, uint32_t& versionMs, uint32_t& versionLs) = 0;
};

// Reports 9.0 through the diagnostics provider when an OpenGL 3.3 core context with what the
// renderer needs can be made, and has no system files.
DirectXProbe& PlatformDirectXProbe();

}  // namespace sys
