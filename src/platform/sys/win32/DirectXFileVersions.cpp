#include "platform/sys/win32/DirectXFileVersions.h"

namespace sys {
namespace {

constexpr uint64_t Version(uint64_t a, uint64_t b, uint64_t c, uint64_t d) { return a << 48 | b << 32 | c << 16 | d; }

struct Release {
    uint32_t major = 0, minor = 0;
    char letter = 0;
};

// One row of the table: which file, which versions qualify, and the release they mean.
struct FileProbe {
    const char* file;
    uint64_t atLeast;      // for any first version word (0 = "has version information")
    uint64_t atLeastFor5;  // when non-zero: the row is split by the first version word (4 or 5)
    Release release;
};

constexpr FileProbe kFileProbes[] = {
    {"\\ddraw.dll", Version(4, 2, 0, 95), 0, {1, 0, 0}},
    {"\\ddraw.dll", Version(4, 3, 0, 1096), 0, {2, 0, 0}},
    {"\\ddraw.dll", Version(4, 4, 0, 68), 0, {3, 0, 0}},
    {"\\d3drg8x.dll", Version(4, 4, 0, 70), 0, {3, 0, 'a'}},
    {"\\ddraw.dll", Version(4, 5, 0, 155), 0, {5, 0, 0}},
    {"\\ddraw.dll", Version(4, 6, 0, 318), 0, {6, 0, 0}},
    {"\\ddraw.dll", Version(4, 6, 0, 436), 0, {6, 1, 0}},
    {"\\dplayx.dll", Version(4, 6, 3, 518), 0, {6, 1, 'a'}},
    {"\\ddraw.dll", Version(4, 7, 0, 700), 0, {7, 0, 0}},
    {"\\dinput.dll", Version(4, 7, 0, 716), 0, {7, 0, 'a'}},
    {"\\ddraw.dll", Version(4, 8, 0, 400), Version(5, 1, 2258, 400), {8, 0, 0}},
    {"\\d3d8.dll", Version(4, 8, 1, 881), Version(5, 1, 2600, 881), {8, 1, 0}},
    {"\\d3d8.dll", Version(4, 8, 1, 901), Version(5, 1, 2600, 901), {8, 1, 'a'}},
    {"\\mpg2splt.ax", Version(6, 3, 1, 885), 0, {8, 1, 'b'}},
    {"\\dpnet.dll", Version(4, 9, 0, 134), Version(5, 2, 3677, 134), {8, 2, 0}},
    {"\\d3d9.dll", 0, 0, {9, 0, 0}},
};

bool Matches(const FileProbe& probe, uint64_t version) {
    if (probe.atLeastFor5 == 0) return version >= probe.atLeast;
    const uint64_t first = version >> 48;
    return (first == 4 && version >= probe.atLeast) || (first == 5 && version >= probe.atLeastFor5);
}

}  // namespace

void ReadDirectXFileVersions(const FileVersionReader& readVersion, uint32_t& major, uint32_t& minor, char& letter) {
    Release found;
    for (const FileProbe& row : kFileProbes) {
        uint32_t ms = 0, ls = 0;
        if (!readVersion(row.file, ms, ls)) continue;
        if (Matches(row, uint64_t{ms} << 32 | ls)) found = row.release;
    }
    major = found.major;
    minor = found.minor;
    letter = found.letter;
}

}  // namespace sys
