#pragma once
// The two ways the shell learns which graphics runtime is installed: a diagnostics provider that
// reports a version directly, and, when it cannot, the versions of the runtime's files in the
// system directory.

#include <cstdint>

namespace sys {

class DirectXProbe {
public:
    virtual ~DirectXProbe() = default;
    // True only when major, minor and the letter (0 for none) could all be read.
    virtual bool ReadDiagnostics(uint32_t& major, uint32_t& minor, char& letter) = 0;
    // The newest release the system directory's files show; 0.0 with no letter when none does.
    virtual void ReadSystemFiles(uint32_t& major, uint32_t& minor, char& letter) = 0;
};

// Reports 9.0 through the diagnostics provider when an OpenGL 3.3 core context with what the
// renderer needs can be made; there are no system files of the runtime to read.
DirectXProbe& PlatformDirectXProbe();

}  // namespace sys
