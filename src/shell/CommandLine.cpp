#include "shell/CommandLine.h"

#include <cctype>
#include <cstdlib>

RunMode ParseCommandLine(const char* commandLine, uint32_t& windowHandle) {
    windowHandle = 0;
    const char* p = commandLine ? commandLine : "";
    // The program name: a quoted path as a whole, an unquoted one up to its first blank.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ') ++p;
        if (*p) ++p;
    }
    while (*p && *p != '/' && *p != '-') ++p;
    if (!*p) return RunMode::Configure;
    ++p;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if (letter == 'A' || letter == 'C' || letter == 'P') {
        ++p;
        while (*p && !std::isdigit(static_cast<unsigned char>(*p))) ++p;
        // X tools print window ids in hex (0x2a00007); other hosts pass decimal.
        if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
            windowHandle = static_cast<uint32_t>(std::strtoull(p + 2, nullptr, 16));
        } else if (*p) {
            // As atol, without its overflow; 64 bits wide on every platform (Windows' long has
            // 32), so a handle past 2^31 is read whole there too.
            windowHandle = static_cast<uint32_t>(std::strtoll(p, nullptr, 10));
        }
        if (letter == 'A') return RunMode::ChangePassword;
        if (letter == 'C') return RunMode::Configure;
        return RunMode::Preview;
    }
    if (letter == 'T') return RunMode::Test;
    return RunMode::Saver;
}
