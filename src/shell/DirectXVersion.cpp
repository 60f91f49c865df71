#include "shell/DirectXVersion.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr uint64_t Version(uint64_t a, uint64_t b, uint64_t c, uint64_t d) { return a << 48 | b << 32 | c << 16 | d; }

struct Found {
    uint32_t major = 0, minor = 0;
    char letter = 0;
};

// One row of the file-version table: which file, which versions qualify, and what they mean.
struct FileProbe {
    const char* file;
    uint64_t atLeast;       // for any first version word (0 = "has version information")
    uint64_t atLeastFor5;   // when non-zero: the row is split by the first version word (4 or 5)
    Found result;
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

// Later rows override earlier ones; a missing file is skipped. Always succeeds.
Found ProbeFiles(sys::DirectXProbe& probe) {
    Found found;
    for (const FileProbe& row : kFileProbes) {
        uint32_t ms = 0, ls = 0;
        if (!probe.GetSystemFileVersion(row.file, ms, ls)) continue;
        if (Matches(row, uint64_t{ms} << 32 | ls)) found = row.result;
    }
    return found;
}

}  // namespace

uint32_t EncodeDirectXVersion(uint32_t major, uint32_t minor, char letter) {
    const int lower = std::tolower(static_cast<unsigned char>(letter));
    const uint32_t letterValue = (lower >= 'a' && lower <= 'z') ? static_cast<uint32_t>(lower - 'a' + 1) : 0;
    return (major << 16) | (minor << 8) | letterValue;
}

int QueryDirectXVersion(sys::DirectXProbe& probe, uint32_t& version, char* text, size_t textSize) {
    version = 0;
    if (text && textSize > 0) text[0] = '\0';
    Found found;
    if (!probe.ReadDiagnostics(found.major, found.minor, found.letter)) found = ProbeFiles(probe);
    version = EncodeDirectXVersion(found.major, found.minor, found.letter);
    if (text && textSize > 0) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(found.letter)));
        if (version & 0xFF)
            std::snprintf(text, textSize, "%u.%u%c", found.major, found.minor, letter);
        else
            std::snprintf(text, textSize, "%u.%u", found.major, found.minor);
    }
    return 0;
}
