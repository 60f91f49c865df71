#include "shell/DirectXVersion.h"

#include <cctype>
#include <cstdio>

namespace {

struct Found {
    uint32_t major = 0, minor = 0;
    char letter = 0;
};

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
    if (!probe.ReadDiagnostics(found.major, found.minor, found.letter))
        probe.ReadSystemFiles(found.major, found.minor, found.letter);
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
