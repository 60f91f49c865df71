#pragma once
// The runtime's release read from the versions of its files in the system directory, the way to
// learn it when the diagnostics provider does not answer: a table from the first releases to 9.0.

#include <cstdint>
#include <functional>

namespace sys {

// The fixed version of a file of the system directory ("\\ddraw.dll"), its most significant
// word first; false when the file or its version information is missing.
using FileVersionReader = std::function<bool(const char* fileName, uint32_t& versionMs, uint32_t& versionLs)>;

// Later rows of the table override earlier ones and a missing file is passed over; 0.0 with no
// letter when no row matches.
void ReadDirectXFileVersions(const FileVersionReader& readVersion, uint32_t& major, uint32_t& minor, char& letter);

}  // namespace sys
